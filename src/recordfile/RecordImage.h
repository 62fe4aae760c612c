#pragma once
// The record list of the container, read and written one way by every writer of record
// files: an entry is the record's offset, its attributes and its 24-bit unique id; a
// file's whole image is the header, one entry per record, the gap and the records'
// bytes in list order.

#include <cstdint>
#include <span>
#include <vector>

#include "recordfile/PdbLayout.h"

namespace pdb {

RecordEntry read_entry(const std::uint8_t* at);
void write_entry(std::uint8_t* at, const RecordEntry& entry);

struct ImageRecord {
    RecordEntry entry;  // its offset is where the record lands in the image
    std::span<const std::uint8_t> data;
};

// `header` gives the fields before the record count (shorter is padded with zeros);
// the count is the number of records given, each record's offset is computed.
std::vector<std::uint8_t> record_image(std::span<const std::uint8_t> header, std::span<const ImageRecord> records);

}  // namespace pdb
