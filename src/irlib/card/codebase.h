#pragma once
// A codebase opened for reading: its database and the names of its signals and macros.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "irlib/card/database.h"
#include "irlib/card/signal_record.h"

namespace platform::card {

class codebase {
public:
    codebase() = default;
    codebase(const codebase&) = delete;
    codebase& operator=(const codebase&) = delete;

    virtual ~codebase();
    // Closes whatever was open, then opens the registered codebase read-only:
    // 0, kNotFound, kOpenFailed, kMalformed or kNewerVersion (then it stays closed).
    [[nodiscard]] virtual int open(std::string_view name);
    // Discards everything not committed.
    virtual void close();

    bool is_open() const { return database_.is_open(); }
    // The record index of the signal or macro of that name (compared byte for byte;
    // the lowest index when a name occurs twice), or -1.
    int find_signal(std::string_view name) const;
    int find_macro(std::string_view name) const;
    // The names indexed, in byte order.
    std::vector<std::string> signal_names() const { return names_in(signals_); }
    std::vector<std::string> macro_names() const { return names_in(macros_); }
    // The record's bytes; empty for an index that is not a record.
    std::span<const std::uint8_t> record(int index) const;
    int record_count() const { return static_cast<int>(database_.record_count()); }
    std::uint16_t version() const { return database_.version(); }

    // Decodes part `part` of the signal record `index` into decoded_signal(), which the
    // next decode overwrites: 0, kNotSignal (also for record 0 and an index that is not
    // a record) or kBadSignal.
    int decode_signal(int index, int part);
    const signal_data& decoded_signal() const { return decoded_; }

protected:
    int open_as(std::string_view name, open_mode mode);
    // Re-reads every record's kind and name.
    void build_indexes();

    database database_;
    std::string name_;  // as registered

private:
    using name_index = std::map<std::string, int, std::less<>>;
    static int lookup(const name_index& index, std::string_view name);
    static std::vector<std::string> names_in(const name_index& index);

    name_index signals_;
    name_index macros_;
    signal_data decoded_;
};

}  // namespace platform::card
