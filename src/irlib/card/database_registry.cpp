#include "irlib/card/database_registry.h"

#include <algorithm>

#include "ce/Files.h"
#include "irlib/card/database.h"
#include "irlib/card/file_names.h"
#include "irlib/card/header_values.h"
#include "irlib/card/result_codes.h"
#include "recordfile/PdbLayout.h"

namespace platform::card {

namespace {

std::u16string normalised_folder(std::u16string_view folder) {
    std::u16string result(folder);
    const std::size_t leading = result.find_first_not_of(u'\\');
    if (leading == std::u16string::npos) return u"\\";
    if (leading > 1) result.erase(0, leading - 1);
    if (result.back() != u'\\') result.push_back(u'\\');
    return result;
}

bool file_present(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool write_all(ce::HANDLE file, const std::uint8_t* bytes, std::size_t size) {
    ce::DWORD written = 0;
    return ce::WriteFile(file, bytes, static_cast<ce::DWORD>(size), &written) && written == size;
}

// The 32-byte name field of a database called `name`, NUL-padded.
void fill_name_field(std::uint8_t* field, const std::string& name) {
    std::fill(field, field + pdb::kNameSize, std::uint8_t{0});
    std::copy(name.begin(), name.end(), field);
}

}  // namespace

database_registry& database_registry::instance() {
    static database_registry registry;
    return registry;
}

void database_registry::set_codebase_folder(std::u16string_view folder) {
    folder_ = normalised_folder(folder);
    accepted_ = {{kCreator, kCodebaseType}, {kCreator, kTemporaryType}};
    rescan();
}

bool database_registry::accepted(std::uint32_t creator, std::uint32_t type) const {
    return std::find(accepted_.begin(), accepted_.end(), std::make_pair(creator, type)) != accepted_.end();
}

void database_registry::rescan() {
    table_.clear();
    ce::WIN32_FIND_DATAW found;
    const std::u16string pattern = folder_ + u"*.pdb";
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    if (search == ce::INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0) scan_file(folder_ + found.cFileName);
    } while (ce::FindNextFileW(search, &found));
    ce::FindClose(search);
}

void database_registry::scan_file(const std::u16string& path) {
    ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    // Sharing writes too, so that a database a writer holds open is still listed.
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ | ce::FILE_SHARE_WRITE,
                                      ce::OPEN_EXISTING);
    if (file == ce::INVALID_HANDLE_VALUE) return;
    std::uint8_t header[kCreatedHeaderSize] = {};
    ce::DWORD got = 0;
    const bool read = ce::ReadFile(file, header, sizeof header, &got) && got == sizeof header;
    ce::CloseHandle(file);
    std::string name;
    if (!read || !read_name_field(header + pdb::kNameOffset, name)) return;
    entry found{path, pdb::read_be32(header + pdb::kCreatorOffset), pdb::read_be32(header + pdb::kTypeOffset),
                pdb::read_be16(header + pdb::kVersionOffset)};
    if (accepted(found.creator, found.type)) table_[name] = std::move(found);
}

std::vector<std::string> database_registry::list_codebases(bool refresh) {
    if (refresh) rescan();
    std::vector<std::string> names;
    for (const auto& [name, found] : table_)
        if (found.creator == kCreator && found.type == kCodebaseType) names.push_back(name);
    return names;
}

const database_registry::entry* database_registry::find(std::string_view name) const {
    const auto found = table_.find(stored_name(name));
    return found == table_.end() ? nullptr : &found->second;
}

void database_registry::set_version(std::string_view name, std::uint16_t version) {
    if (const auto found = table_.find(stored_name(name)); found != table_.end()) found->second.version = version;
}

bool database_registry::codebase_exists(std::string_view name) const {
    const entry* found = find(name);
    return found != nullptr && file_present(found->path);
}

int database_registry::create_database(std::string_view name, std::uint32_t creator, std::uint32_t type,
                                       std::uint16_t version, std::u16string* created_path) {
    const std::string stored = stored_name(name);
    std::u16string path;
    if (const int result = make_database_path(folder_, stored, path); result != kOk) return result;
    ce::CreateDirectoryW(folder_.c_str());
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_NEW);
    if (file == ce::INVALID_HANDLE_VALUE) return kCreateFailed;
    std::uint8_t header[pdb::kHeaderSize] = {};
    fill_name_field(header + pdb::kNameOffset, stored);
    pdb::write_be16(header + pdb::kVersionOffset, version);
    pdb::write_be32(header + pdb::kTypeOffset, type);
    pdb::write_be32(header + pdb::kCreatorOffset, creator);
    // The record count (0) is part of the header; no gap while there are no records.
    const bool written = write_all(file, header, sizeof header) && ce::FlushFileBuffers(file);
    ce::CloseHandle(file);
    if (!written) {
        ce::DeleteFileW(path.c_str());
        return kCreateFailed;
    }
    table_[stored] = entry{path, creator, type, version};
    if (created_path != nullptr) *created_path = path;
    return kOk;
}

void database_registry::undo_creation(const std::string& name, const std::u16string& path,
                                      std::optional<entry> displaced) {
    ce::DeleteFileW(path.c_str());
    if (displaced)
        table_[name] = std::move(*displaced);
    else
        table_.erase(name);
}

int database_registry::create_codebase(std::string_view name, std::span<const std::uint8_t> record0) {
    const std::string stored = stored_name(name);
    std::optional<entry> displaced;
    if (const entry* existing = find(stored)) displaced = *existing;
    std::u16string path;
    if (const int result = create_database(stored, kCreator, kCodebaseType, kCurrentVersion, &path); result != kOk)
        return result;
    database created;
    int result = created.open(path, open_mode::read_write);
    if (result == kOk) result = created.append_record(record0) < 0 ? kCreateFailed : created.save();
    created.close();
    if (result != kOk) undo_creation(stored, path, std::move(displaced));
    return result;
}

int database_registry::copy_codebase(std::string_view source, std::string_view new_name) {
    const entry* original = find(source);
    if (original == nullptr) return kNotFound;
    const entry copied_entry = *original;
    const std::string stored = stored_name(new_name);
    std::u16string path;
    if (const int result = make_database_path(folder_, stored, path); result != kOk) return result;
    ce::CreateDirectoryW(folder_.c_str());
    if (!ce::CopyFileW(copied_entry.path.c_str(), path.c_str(), ce::TRUE)) return kCopyFailed;
    // The copy has the source's attributes; it must take the new name whatever they were.
    ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    ce::SetLastError(ce::ERROR_SUCCESS);
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    if (file == ce::INVALID_HANDLE_VALUE) {
        const int result = ce::GetLastError() != ce::ERROR_SUCCESS ? kOpenFailed : kNotFound;
        ce::DeleteFileW(path.c_str());
        return result;
    }
    // The whole field, so that nothing of the source's name stays behind the new one's NUL.
    std::uint8_t field[pdb::kNameSize];
    fill_name_field(field, stored);
    const bool renamed = write_all(file, field, sizeof field) && ce::FlushFileBuffers(file);
    ce::CloseHandle(file);
    if (!renamed) {
        // A copy still holding the source's name would stand for the source at the next rescan.
        ce::DeleteFileW(path.c_str());
        return kCopyFailed;
    }
    table_[stored] = entry{path, copied_entry.creator, copied_entry.type, copied_entry.version};
    return kOk;
}

int database_registry::delete_codebase(std::string_view name) {
    const auto found = table_.find(stored_name(name));
    if (found == table_.end()) return kOk;
    const std::u16string& path = found->second.path;
    ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    if (!ce::DeleteFileW(path.c_str())) {
        const ce::DWORD error = ce::GetLastError();
        // A file removed behind the registry's back is as deleted as it gets.
        if (error != ce::ERROR_FILE_NOT_FOUND && error != ce::ERROR_PATH_NOT_FOUND) return kDeleteFailed;
    }
    table_.erase(found);
    return kOk;
}

}  // namespace platform::card
