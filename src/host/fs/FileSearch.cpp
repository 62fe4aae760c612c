#include "host/fs/FileSearch.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "ce/Text.h"
#include "host/fs/AttributeStore.h"
#include "host/fs/HostError.h"

namespace host {

namespace {

// Seconds from 1601-01-01 (where FILETIME counts from) to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11644473600;

ce::FILETIME file_time(const struct statx_timestamp& time) {
    const std::int64_t seconds = std::max<std::int64_t>(time.tv_sec + kEpochDifference, 0);
    const auto ticks = static_cast<std::uint64_t>(seconds) * 10000000u + time.tv_nsec / 100u;
    return ce::FILETIME{static_cast<ce::DWORD>(ticks), static_cast<ce::DWORD>(ticks >> 32)};
}

bool is_link(const std::filesystem::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

void copy_name(const std::u16string& name, ce::WIN32_FIND_DATAW* data) {
    const std::size_t length = std::min<std::size_t>(name.size(), ce::MAX_PATH - 1);
    std::copy_n(name.begin(), length, data->cFileName);
    data->cFileName[length] = u'\0';
}

}  // namespace

std::unique_ptr<FileSearch> FileSearch::open(const DevicePath& pattern, bool names_only, ce::DWORD* error) {
    if (pattern.is_root()) {
        *error = ce::ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    const DevicePath folder = pattern.parent();
    const auto location = folder.locate();
    if (location.error != ce::ERROR_SUCCESS || !location.is_directory) {
        *error = location.error != ce::ERROR_SUCCESS ? location.error : ce::ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    DIR* dir = opendir(location.host.c_str());
    if (dir == nullptr) {
        *error = HostError::from_errno(errno, ce::ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    *error = ce::ERROR_SUCCESS;
    return std::unique_ptr<FileSearch>(new FileSearch(dir, folder, location.host, pattern.name(), names_only));
}

FileSearch::FileSearch(DIR* dir, DevicePath folder, std::filesystem::path host_folder, const std::u16string& pattern,
                       bool names_only)
    : dir_(dir),
      folder_(std::move(folder)),
      host_folder_(std::move(host_folder)),
      pattern_(pattern),
      names_only_(names_only) {}

FileSearch::~FileSearch() { closedir(dir_); }

ce::DWORD FileSearch::next(ce::WIN32_FIND_DATAW* data) {
    std::lock_guard guard(lock_);
    while (const dirent* entry = readdir(dir_)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        if (describe(entry->d_name, entry->d_type, data)) return ce::ERROR_SUCCESS;
    }
    return ce::ERROR_NO_MORE_FILES;
}

// False for entries the device could not name or open: names that are not UTF-8 or not
// valid device names, links leading out of the device, entries gone since readdir.
bool FileSearch::describe(const char* host_name, unsigned char type, ce::WIN32_FIND_DATAW* data) const {
    const std::u16string name = ce::utf16_from_utf8(host_name);
    if (!pattern_.matches(name) || ce::utf8_from_utf16(name) != host_name) return false;
    const DevicePath entry = folder_.child(name);
    if (!entry.valid()) return false;
    *data = ce::WIN32_FIND_DATAW{};
    // The listing's own type is all a names-only search tells; a link, or an entry of a file
    // system that gives no type, is asked as a standard search would.
    if (names_only_ && (type == DT_REG || type == DT_DIR)) {
        data->dwFileAttributes = type == DT_DIR ? ce::FILE_ATTRIBUTE_DIRECTORY : 0;
        copy_name(name, data);
        return true;
    }
    const std::string host = host_folder_.native() + '/' + host_name;
    // The entry's type from the listing spares a call; not every file system gives it.
    if (type == DT_LNK || (type == DT_UNKNOWN && is_link(host))) {
        const auto location = entry.locate();
        if (location.error != ce::ERROR_SUCCESS || !location.exists) return false;
    }
    // From the open folder, the kernel looks up one name rather than the whole path.
    struct statx info {};
    if (statx(dirfd(dir_), host_name, 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
    const bool is_directory = S_ISDIR(info.stx_mode);
    data->dwFileAttributes = AttributeStore::reported_in(dirfd(dir_), host_name, entry, host.c_str(), is_directory);
    data->ftLastWriteTime = file_time(info.stx_mtime);
    data->ftLastAccessTime = file_time(info.stx_atime);
    data->ftCreationTime = file_time((info.stx_mask & STATX_BTIME) != 0 ? info.stx_btime : info.stx_mtime);
    const std::uint64_t size = is_directory ? 0 : info.stx_size;
    data->nFileSizeHigh = static_cast<ce::DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<ce::DWORD>(size);
    copy_name(name, data);
    return true;
}

}  // namespace host
