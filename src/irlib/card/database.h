#pragma once
// One database file loaded whole into memory: its header and its records, edited in
// memory and saved in one piece. While it is open the file stays open too, sharing
// reads only, so nobody else writes or deletes it meanwhile.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ce/Types.h"

namespace platform::card {

enum class open_mode { read_only, read_write };

class database {
public:
    database() = default;
    database(const database&) = delete;
    database& operator=(const database&) = delete;
    ~database();

    // Closes whatever was open, then loads the file. 0, kOpenFailed, kNotFound or
    // kMalformed; a failed open leaves the database closed.
    [[nodiscard]] int open(const std::u16string& path, open_mode mode);
    void close();
    bool is_open() const { return open_; }
    open_mode mode() const { return mode_; }
    const std::u16string& path() const { return path_; }

    // Header fields as held in memory.
    std::string name() const;
    std::uint16_t version() const;
    void set_version(std::uint16_t version);
    std::uint32_t type() const;
    std::uint32_t creator() const;

    std::size_t record_count() const { return records_.size(); }
    // The record's bytes; empty for an index that is not a record.
    std::span<const std::uint8_t> record(std::size_t index) const;
    // Adds a copy of `bytes` as the last record: its index, or -1 when the database is
    // not open for writing or the file could not hold another record.
    int append_record(std::span<const std::uint8_t> bytes);
    // Puts a copy of `bytes` in place of record `index`; false as for append_record or
    // for an index that is not a record.
    bool replace_record(std::size_t index, std::span<const std::uint8_t> bytes);

    // Writes the database as held in memory: 0, or kCreateFailed when it could not be
    // written (the stored file is then as it was) or is not open for writing.
    [[nodiscard]] int save();

private:
    // A record lives in the loaded image until it is replaced; then in its own buffer.
    struct record_slot {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        std::unique_ptr<std::uint8_t[]> buffer;
    };

    int open_file();
    int read_image();
    int parse();
    bool fits_another(std::size_t added_bytes) const;
    std::vector<std::uint8_t> saved_image() const;
    static std::unique_ptr<std::uint8_t[]> copy_of(std::span<const std::uint8_t> bytes);

    bool open_ = false;
    open_mode mode_ = open_mode::read_only;
    std::u16string path_;
    ce::HANDLE file_ = nullptr;
    std::vector<std::uint8_t> image_;  // the file as loaded; image_[0..78) is the header
    std::vector<record_slot> records_;
};

}  // namespace platform::card
