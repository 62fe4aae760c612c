#pragma once
// A codebase opened for changing: records are put in memory and written by commit.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "irlib/card/codebase.h"

namespace platform::card {

class codebase_writer : public codebase {
public:
    codebase_writer() = default;
    ~codebase_writer() override;
    // As codebase::open, read-write.
    [[nodiscard]] int open(std::string_view name) override;
    void close() override;
    // Applies the version rule and saves: 0, kNotFound when nothing is open, or
    // kCreateFailed when the file could not be written (it then stays as it was).
    [[nodiscard]] virtual int commit();

    // Stores `bytes` as the record of the macro `name`: in place of the macro of that
    // name, or as a new last record. 0, kNotFound when nothing is open, or kMalformed
    // when the file cannot hold another record.
    [[nodiscard]] int put_macro(std::string_view name, std::span<const std::uint8_t> bytes);

    // Stores a signal under `name`: as a new record when there is none of that name;
    // else in place of it, as a one-part record when `replace` is set, or with the
    // signal added as one more part. 0, kBadSignal (nothing changed), kNotFound when
    // nothing is open, or kMalformed when the file cannot hold the record.
    [[nodiscard]] int put_signal(std::string_view name, const signal_data& signal, bool replace);

    // The primitives records are stored with; both keep the name indexes current.
    // The new record's index, or -1.
    int append_record(std::span<const std::uint8_t> bytes);
    [[nodiscard]] bool replace_record(int index, std::span<const std::uint8_t> bytes);

    // Version 100 for a codebase ("Alr1") of an older version, in the file's header and
    // in the registry: 0, or kVersionRuleNotApplicable when there is nothing to change.
    int apply_version_rule();

protected:
    // The record built last, kept until the next one is built or the writer closes.
    std::vector<std::uint8_t> built_record_;
};

}  // namespace platform::card
