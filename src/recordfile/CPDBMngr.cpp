#include "recordfile/CPDBMngr.h"

#include <algorithm>

#include "ce/Files.h"
#include "ce/Text.h"
#include "recordfile/RecordImage.h"
#include "recordfile/ReplacementFile.h"

namespace {

// Beside the file, so that the final rename stays on one file system; the suffix keeps
// it out of "*.kivo" and "*.pdb" searches.
const std::u16string kTemporarySuffix = u".~tmp";

constexpr std::uint32_t kWholeReadLimit = 1u << 20;
// Larger than any alarm: what a read-only open reads before it knows the file's size.
constexpr std::uint32_t kSmallFileBytes = 4096;

std::vector<std::uint8_t> padded(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> copy(data, data + size);
    if (copy.size() % 2 != 0) copy.push_back(0);
    return copy;
}

// The database name: the file name without folder and extension, at most 31 characters.
std::string database_name(const std::u16string& path) {
    std::u16string name = path.substr(path.find_last_of(u'\\') + 1);
    if (const auto dot = name.find_last_of(u'.'); dot != std::u16string::npos) name.erase(dot);
    std::string text = ce::ansi_from_wide(name);
    if (text.size() > pdb::kNameSize - 1) text.resize(pdb::kNameSize - 1);
    return text;
}

}  // namespace

CPDBMngr::CPDBMngr(bool keepDeleted) : keep_deleted_(keepDeleted) {}

CPDBMngr::~CPDBMngr() { CPDBMngr::Close(); }

int CPDBMngr::Open(const std::u16string& path) {
    Close();
    // Files are seldom read-only: the attributes are asked only when writing is refused.
    if (OpenWith(path, false, ce::FILE_SHARE_READ) == kOk) return kOk;
    if (ce::GetLastError() != ce::ERROR_ACCESS_DENIED) return kNotOpen;
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    const bool read_only =
        attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_READONLY) != 0;
    return read_only ? OpenWith(path, true, 0) : kNotOpen;
}

int CPDBMngr::OpenForReading(const std::u16string& path) {
    Close();
    return OpenWith(path, true, ce::FILE_SHARE_READ);
}

int CPDBMngr::OpenWith(const std::u16string& path, bool read_only, ce::DWORD share) {
    ForgetWhole();
    file_ = ce::CreateFileW(path.c_str(), read_only ? ce::GENERIC_READ : ce::GENERIC_READ | ce::GENERIC_WRITE, share,
                            ce::OPEN_EXISTING);
    if (file_ == ce::INVALID_HANDLE_VALUE) {
        file_ = nullptr;
        return kNotOpen;
    }
    path_ = path;
    read_only_ = read_only;
    // A handle that cannot write reads the file once, now: its readers (a reschedule, the
    // list) want every record anyway, and the count comes from the same read. A file
    // shorter than the first read (as an alarm is) is measured by it.
    if (!read_only || !ReadSmallWhole()) {
        file_size_ = ce::GetFileSize(file_, nullptr);
        if (file_size_ == ce::INVALID_FILE_SIZE) file_size_ = 0;
        if (read_only) ReadWhole();
    }
    if (ReadRecordCount() < 0) record_count_ = 0;
    return kOk;
}

int CPDBMngr::Create(const std::u16string& path) {
    Close();
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, ce::FILE_SHARE_READ,
                                      ce::CREATE_ALWAYS);
    if (file == ce::INVALID_HANDLE_VALUE) return kCreateFailed;
    std::uint8_t header[pdb::kEmptyFileSize] = {};
    const std::string name = database_name(path);
    std::copy(name.begin(), name.end(), header + pdb::kNameOffset);
    std::copy(std::begin(pdb::kCreatedAttributes), std::end(pdb::kCreatedAttributes), header + pdb::kAttributesOffset);
    ce::DWORD written = 0;
    if (!ce::WriteFile(file, header, sizeof header, &written) || written != sizeof header) {
        ce::CloseHandle(file);
        return kCreateFailed;
    }
    file_ = file;
    path_ = path;
    read_only_ = false;
    file_size_ = sizeof header;
    record_count_ = 0;
    return kOk;
}

void CPDBMngr::Close() {
    ForgetWhole();
    if (file_ != nullptr) ce::CloseHandle(file_);
    file_ = nullptr;
    record_count_ = 0;
    file_size_ = 0;
    read_only_ = false;
}

void CPDBMngr::ReadWhole() {
    // A file too large to hold is read piece by piece, as always.
    if (file_ == nullptr || reading_whole_ || file_size_ > kWholeReadLimit) return;
    ReadFromStart(file_size_);
}

bool CPDBMngr::ReadSmallWhole() {
    if (ReadFromStart(kSmallFileBytes) && whole_.size() < kSmallFileBytes) {
        file_size_ = static_cast<std::uint32_t>(whole_.size());
        return true;
    }
    ForgetWhole();
    return false;
}

bool CPDBMngr::ReadFromStart(std::uint32_t bytes) {
    whole_.resize(bytes);
    ce::DWORD got = 0;
    if (ce::SetFilePointer(file_, 0, nullptr, ce::FILE_BEGIN) != 0 || !ce::ReadFile(file_, whole_.data(), bytes, &got)) {
        whole_.clear();
        return false;
    }
    whole_.resize(got);
    reading_whole_ = true;
    return true;
}

void CPDBMngr::ForgetWhole() {
    reading_whole_ = false;
    extents_of_whole_ = false;
    whole_.clear();
}

bool CPDBMngr::ReadAt(std::uint32_t offset, void* buffer, std::uint32_t bytes) {
    if (reading_whole_) {
        if (std::uint64_t{offset} + bytes > whole_.size()) return false;
        std::copy_n(whole_.data() + offset, bytes, static_cast<std::uint8_t*>(buffer));
        return true;
    }
    if (file_ == nullptr || ce::SetFilePointer(file_, static_cast<ce::LONG>(offset), nullptr, ce::FILE_BEGIN) !=
                                offset)
        return false;
    ce::DWORD got = 0;
    return ce::ReadFile(file_, buffer, bytes, &got) && got == bytes;
}

bool CPDBMngr::WriteHeaderWord(std::size_t offset, std::uint32_t value) {
    if (file_ == nullptr || read_only_) return false;
    ForgetWhole();
    if (ce::SetFilePointer(file_, static_cast<ce::LONG>(offset), nullptr, ce::FILE_BEGIN) != offset) return false;
    std::uint8_t bytes[4];
    pdb::write_be32(bytes, value);
    ce::DWORD written = 0;
    return ce::WriteFile(file_, bytes, sizeof bytes, &written) && written == sizeof bytes;
}

int CPDBMngr::ReadRecordCount() {
    std::uint8_t bytes[2];
    if (!ReadAt(pdb::kRecordCountOffset, bytes, sizeof bytes)) return -1;
    record_count_ = pdb::read_be16(bytes);
    return record_count_;
}

bool CPDBMngr::ReadEntries(std::vector<pdb::RecordEntry>& entries) {
    entries.clear();
    const std::uint64_t list_end = pdb::kHeaderSize + std::uint64_t{pdb::kEntrySize} * record_count_;
    if (file_ == nullptr || list_end > file_size_) return false;
    std::vector<std::uint8_t> raw(pdb::kEntrySize * static_cast<std::size_t>(record_count_));
    if (!raw.empty() && !ReadAt(pdb::kHeaderSize, raw.data(), static_cast<std::uint32_t>(raw.size()))) return false;
    entries.reserve(static_cast<std::size_t>(record_count_));
    for (std::size_t i = 0; i < static_cast<std::size_t>(record_count_); ++i)
        entries.push_back(pdb::read_entry(raw.data() + i * pdb::kEntrySize));
    return true;
}

std::vector<CPDBMngr::Extent> CPDBMngr::LiveExtents(const std::vector<pdb::RecordEntry>& entries) const {
    const auto data_start = static_cast<std::uint32_t>(pdb::kHeaderSize + pdb::kEntrySize * entries.size());
    std::vector<Extent> extents;
    extents.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].deleted()) continue;
        std::uint32_t end = file_size_;
        for (std::size_t next = i + 1; next < entries.size(); ++next) {
            if (!entries[next].deleted()) {
                end = entries[next].offset;
                break;
            }
        }
        Extent extent{static_cast<int>(i), entries[i].offset, end};
        if (extent.begin < data_start || extent.begin > extent.end || extent.end > file_size_)
            extent.end = extent.begin;  // malformed: offsets out of order or outside the file
        extents.push_back(extent);
    }
    return extents;
}

const std::vector<CPDBMngr::Extent>* CPDBMngr::CurrentLiveExtents() {
    if (extents_of_whole_) return &extents_;
    std::vector<pdb::RecordEntry> entries;
    if (ReadRecordCount() < 0 || !ReadEntries(entries)) return nullptr;
    extents_ = LiveExtents(entries);
    extents_of_whole_ = reading_whole_;
    return &extents_;
}

std::vector<std::uint8_t> CPDBMngr::ReadRecord(int index) {
    std::vector<pdb::RecordEntry> entries;
    if (index < 0 || index >= record_count_ || !ReadEntries(entries)) return {};
    for (const Extent& extent : LiveExtents(entries)) {
        if (extent.index != index) continue;
        std::vector<std::uint8_t> data(extent.end - extent.begin);
        if (!data.empty() && !ReadAt(extent.begin, data.data(), static_cast<std::uint32_t>(data.size()))) return {};
        return data;
    }
    return {};
}

bool CPDBMngr::LoadCache(std::vector<CachedRecord>& cache) {
    std::vector<pdb::RecordEntry> entries;
    if (!ReadEntries(entries)) return false;
    const auto data_start = static_cast<std::uint32_t>(pdb::kHeaderSize + pdb::kEntrySize * entries.size());
    cache.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t begin = entries[i].offset;
        const std::uint32_t end = i + 1 < entries.size() ? entries[i + 1].offset : file_size_;
        if (begin < data_start || begin > end || end > file_size_) return false;
        CachedRecord record{entries[i], std::vector<std::uint8_t>(end - begin)};
        if (!record.data.empty() && !ReadAt(begin, record.data.data(), end - begin)) return false;
        if (record.data.size() % 2 != 0) record.data.push_back(0);
        cache.push_back(std::move(record));
    }
    return true;
}

bool CPDBMngr::Rewrite(const std::vector<CachedRecord>& cache) {
    std::uint8_t header[pdb::kHeaderSize] = {};
    const std::uint32_t header_bytes = std::min<std::uint32_t>(file_size_, pdb::kHeaderSize);
    if (header_bytes > 0 && !ReadAt(0, header, header_bytes)) return false;
    std::vector<pdb::ImageRecord> records;
    for (const CachedRecord& record : cache) {
        if (!record.entry.deleted())
            records.push_back({record.entry, record.data});
        else if (keep_deleted_)
            records.push_back({record.entry, {}});  // listed, without data
    }
    return CommitImage(pdb::record_image(header, records));
}

bool CPDBMngr::CommitImage(const std::vector<std::uint8_t>& image) {
    ForgetWhole();
    ReplacementFile replacement(path_, path_ + kTemporarySuffix);
    if (!replacement.Write(image.data(), image.size())) return false;
    const std::u16string path = path_;
    return replacement.ReplaceReopening(file_, [&] { return OpenWith(path, false, ce::FILE_SHARE_READ) == kOk; });
}

int CPDBMngr::AddRecord(const void* data, std::size_t size) {
    return ReplaceRecord(-1, data, size);
}

int CPDBMngr::ReplaceRecord(int index, const void* data, std::size_t size) {
    if (file_ == nullptr || read_only_ || data == nullptr || size == 0 || size > 0xFFFF0000u) return -1;
    std::vector<CachedRecord> cache;
    if (ReadRecordCount() < 0 || index >= record_count_ || !LoadCache(cache)) return -1;
    if (index >= 0) {
        auto& attributes = cache[static_cast<std::size_t>(index)].entry.attributes;
        attributes = static_cast<std::uint8_t>((attributes & pdb::kRecordKeptBits) | pdb::kRecordDeleted);
    }
    // The new record's index is the number of records that stay ahead of it.
    const auto new_index = static_cast<int>(std::count_if(
        cache.begin(), cache.end(), [&](const CachedRecord& r) { return keep_deleted_ || !r.entry.deleted(); }));
    if (new_index >= 0xFFFF) return -1;
    cache.push_back({pdb::RecordEntry{0, pdb::kRecordAdded, 0}, padded(static_cast<const std::uint8_t*>(data), size)});
    if (!Rewrite(cache)) return -1;
    return new_index;
}

int CPDBMngr::DeleteRecord(int index) {
    if (file_ == nullptr) return kNotOpen;
    if (read_only_) return kReadOnly;
    if (index < 0 || index >= record_count_) return kBadIndex;
    std::vector<CachedRecord> cache;
    if (!LoadCache(cache)) return kLoadFailed;
    auto& attributes = cache[static_cast<std::size_t>(index)].entry.attributes;
    attributes = static_cast<std::uint8_t>((attributes & pdb::kRecordKeptBits) | pdb::kRecordDeleted);
    return Rewrite(cache) ? kOk : kRewriteFailed;
}
