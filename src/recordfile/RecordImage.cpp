#include "recordfile/RecordImage.h"

#include <algorithm>

namespace pdb {

RecordEntry read_entry(const std::uint8_t* at) {
    RecordEntry entry;
    entry.offset = read_be32(at);
    entry.attributes = at[4];
    entry.unique_id = (std::uint32_t{at[5]} << 16) | (std::uint32_t{at[6]} << 8) | at[7];
    return entry;
}

void write_entry(std::uint8_t* at, const RecordEntry& entry) {
    write_be32(at, entry.offset);
    at[4] = entry.attributes;
    at[5] = static_cast<std::uint8_t>(entry.unique_id >> 16);
    at[6] = static_cast<std::uint8_t>(entry.unique_id >> 8);
    at[7] = static_cast<std::uint8_t>(entry.unique_id);
}

std::vector<std::uint8_t> record_image(std::span<const std::uint8_t> header, std::span<const ImageRecord> records) {
    std::vector<std::uint8_t> image(kHeaderSize + kEntrySize * records.size() + kGapSize, 0);
    std::copy_n(header.begin(), std::min(header.size(), kRecordCountOffset), image.begin());
    write_be16(image.data() + kRecordCountOffset, static_cast<std::uint16_t>(records.size()));
    std::size_t data_bytes = 0;
    for (const ImageRecord& record : records) data_bytes += record.data.size();
    image.reserve(image.size() + data_bytes);
    for (std::size_t i = 0; i < records.size(); ++i) {
        RecordEntry entry = records[i].entry;
        entry.offset = static_cast<std::uint32_t>(image.size());
        write_entry(image.data() + kHeaderSize + kEntrySize * i, entry);
        image.insert(image.end(), records[i].data.begin(), records[i].data.end());
    }
    return image;
}

}  // namespace pdb
