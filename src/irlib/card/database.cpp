#include "irlib/card/database.h"

#include <algorithm>
#include <cstring>

#include "ce/Files.h"
#include "irlib/card/file_names.h"
#include "irlib/card/header_values.h"
#include "irlib/card/result_codes.h"
#include "recordfile/PdbLayout.h"
#include "recordfile/RecordImage.h"
#include "recordfile/ReplacementFile.h"

namespace platform::card {

namespace {

// Codebases hold a few dozen signals; anything near this is not one, and reading it
// whole would only exhaust memory.
constexpr std::uint32_t kMaxFileSize = 64u << 20;
constexpr std::size_t kMaxRecords = 0xFFFF;

// 1022 when the failing call left a system error, 1023 when it did not.
int open_failure() { return ce::GetLastError() != ce::ERROR_SUCCESS ? kOpenFailed : kNotFound; }

}  // namespace

database::~database() { close(); }

int database::open(const std::u16string& path, open_mode mode) {
    close();
    path_ = path;
    mode_ = mode;
    int result = open_file();
    if (result == kOk) result = read_image();
    if (result == kOk) result = parse();
    if (result != kOk) {
        close();
        return result;
    }
    open_ = true;
    return kOk;
}

int database::open_file() {
    ce::SetFileAttributesW(path_.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    const ce::DWORD access = mode_ == open_mode::read_write ? ce::GENERIC_READ | ce::GENERIC_WRITE : ce::GENERIC_READ;
    ce::SetLastError(ce::ERROR_SUCCESS);
    ce::HANDLE file = ce::CreateFileW(path_.c_str(), access, ce::FILE_SHARE_READ, ce::OPEN_EXISTING);
    if (file == ce::INVALID_HANDLE_VALUE) return open_failure();
    file_ = file;
    return kOk;
}

int database::read_image() {
    const ce::DWORD size = ce::GetFileSize(file_, nullptr);
    if (size == ce::INVALID_FILE_SIZE) return open_failure();
    if (size > kMaxFileSize) return kMalformed;
    image_.assign(size, 0);
    ce::DWORD got = 0;
    ce::SetLastError(ce::ERROR_SUCCESS);
    if (size > 0 && (!ce::ReadFile(file_, image_.data(), size, &got) || got != size)) return open_failure();
    return kOk;
}

int database::parse() {
    if (image_.size() < pdb::kHeaderSize) return kMalformed;
    std::string name;
    if (!read_name_field(image_.data() + pdb::kNameOffset, name)) return kMalformed;
    const std::size_t count = pdb::read_be16(image_.data() + pdb::kRecordCountOffset);
    if (pdb::kHeaderSize + pdb::kEntrySize * count > image_.size()) return kMalformed;
    const auto file_size = static_cast<std::uint32_t>(image_.size());
    records_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t offset = pdb::read_entry(image_.data() + pdb::kHeaderSize + pdb::kEntrySize * i).offset;
        if (offset > file_size || (i > 0 && offset < records_[i - 1].offset)) return kMalformed;
        records_[i].offset = offset;
        if (i > 0) records_[i - 1].size = offset - records_[i - 1].offset;
    }
    if (count > 0) records_.back().size = file_size - records_.back().offset;
    return kOk;
}

void database::close() {
    if (file_ != nullptr) ce::CloseHandle(file_);
    file_ = nullptr;
    open_ = false;
    image_.clear();
    image_.shrink_to_fit();
    records_.clear();
}

std::string database::name() const {
    if (!open_) return {};
    const char* field = reinterpret_cast<const char*>(image_.data() + pdb::kNameOffset);
    return std::string(field, strnlen(field, pdb::kNameSize));
}

std::uint16_t database::version() const { return open_ ? pdb::read_be16(image_.data() + pdb::kVersionOffset) : 0; }

void database::set_version(std::uint16_t version) {
    if (open_) pdb::write_be16(image_.data() + pdb::kVersionOffset, version);
}

std::uint32_t database::type() const { return open_ ? pdb::read_be32(image_.data() + pdb::kTypeOffset) : 0; }

std::uint32_t database::creator() const { return open_ ? pdb::read_be32(image_.data() + pdb::kCreatorOffset) : 0; }

std::span<const std::uint8_t> database::record(std::size_t index) const {
    if (index >= records_.size()) return {};
    const record_slot& slot = records_[index];
    const std::uint8_t* data = slot.buffer ? slot.buffer.get() : image_.data() + slot.offset;
    return {data, slot.size};
}

std::unique_ptr<std::uint8_t[]> database::copy_of(std::span<const std::uint8_t> bytes) {
    // Never empty, so that a replaced record of no bytes still has a buffer of its own.
    auto buffer = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(bytes.size(), 1));
    if (!bytes.empty()) std::memcpy(buffer.get(), bytes.data(), bytes.size());
    return buffer;
}

bool database::fits_another(std::size_t added_bytes) const {
    std::uint64_t total = pdb::kEmptyFileSize + pdb::kEntrySize * (records_.size() + 1) + std::uint64_t{added_bytes};
    for (std::size_t i = 0; i < records_.size(); ++i) total += records_[i].size;
    return total <= kMaxFileSize;
}

int database::append_record(std::span<const std::uint8_t> bytes) {
    if (!open_ || mode_ != open_mode::read_write || records_.size() >= kMaxRecords || !fits_another(bytes.size()))
        return -1;
    record_slot slot;
    slot.size = static_cast<std::uint32_t>(bytes.size());
    slot.buffer = copy_of(bytes);
    records_.push_back(std::move(slot));
    return static_cast<int>(records_.size() - 1);
}

bool database::replace_record(std::size_t index, std::span<const std::uint8_t> bytes) {
    if (!open_ || mode_ != open_mode::read_write || index >= records_.size()) return false;
    if (bytes.size() > records_[index].size && !fits_another(bytes.size() - records_[index].size)) return false;
    records_[index].buffer = copy_of(bytes);
    records_[index].size = static_cast<std::uint32_t>(bytes.size());
    return true;
}

std::vector<std::uint8_t> database::saved_image() const {
    std::vector<pdb::ImageRecord> records(records_.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = {pdb::RecordEntry{0, pdb::kRecordAdded, static_cast<std::uint32_t>(i & 0xFFFF)}, record(i)};
    // The header as loaded, next-record-list field included: it is not the layer's to change.
    return pdb::record_image(std::span(image_).first(pdb::kRecordCountOffset), records);
}

int database::save() {
    if (!open_ || mode_ != open_mode::read_write) return kCreateFailed;
    const std::vector<std::uint8_t> image = saved_image();
    ReplacementFile replacement(path_, staging_path(path_));
    if (!replacement.Write(image.data(), image.size())) return kCreateFailed;
    return replacement.ReplaceReopening(file_, [this] { return open_file() == kOk; }) ? kOk : kCreateFailed;
}

}  // namespace platform::card
