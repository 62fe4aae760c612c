#include "host/fs/AttributeStore.h"

#include "ce/Files.h"
#include "host/Database.h"
#include "host/Device.h"
#include "host/fs/DevicePath.h"
#include "host/fs/ExtendedAttribute.h"

namespace host {

namespace {

constexpr ce::DWORD kSettable = ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_HIDDEN | ce::FILE_ATTRIBUTE_SYSTEM |
                                ce::FILE_ATTRIBUTE_ARCHIVE;

// Rows below a folder: the folder's key followed by a backslash, compared by prefix
// (not LIKE, whose wildcards may be part of a file name).
constexpr const char* kBelow = "substr(path, 1, length(?1) + 1) = ?1 || '\\'";

}  // namespace

Database* AttributeStore::database() {
    Device& device = Device::current();
    return device.ready() ? &device.database() : nullptr;
}

ce::DWORD AttributeStore::settable(ce::DWORD attributes) { return attributes & kSettable; }

std::optional<ce::DWORD> AttributeStore::stored(const std::string& key, const std::filesystem::path& host, int fd) {
    if (const auto beside = ExtendedAttribute::read(host, fd)) return settable(*beside);
    return row(key);
}

ce::DWORD AttributeStore::reported(const std::string& key, const std::filesystem::path& host, bool is_directory) {
    return report(stored(key, host), is_directory);
}

ce::DWORD AttributeStore::reported_in(int folder_fd, const char* name, const DevicePath& entry, const char* host,
                                      bool is_directory) {
    const auto beside = ExtendedAttribute::read_in(folder_fd, name, host);
    return report(beside ? std::optional(settable(*beside)) : row(entry.key()), is_directory);
}

ce::DWORD AttributeStore::report(std::optional<ce::DWORD> kept, bool is_directory) {
    if (is_directory) return ce::FILE_ATTRIBUTE_DIRECTORY | kept.value_or(0);
    const ce::DWORD attributes = kept.value_or(ce::FILE_ATTRIBUTE_ARCHIVE);
    return attributes == 0 ? ce::FILE_ATTRIBUTE_NORMAL : attributes;
}

bool AttributeStore::set(const std::string& key, const std::filesystem::path& host, ce::DWORD attributes, int fd) {
    // A row the path still has (from a handheld made before attributes were kept beside
    // the files) would come back should the file ever lose what is kept beside it.
    if (ExtendedAttribute::write(host, settable(attributes), fd)) return remove_row(key);
    return set_row(key, attributes);
}

bool AttributeStore::mark_archive(const std::string& key, const std::filesystem::path& host, int fd) {
    if (const auto beside = ExtendedAttribute::read(host, fd)) {
        if ((*beside & ce::FILE_ATTRIBUTE_ARCHIVE) != 0) return true;
        if (ExtendedAttribute::write(host, settable(*beside | ce::FILE_ATTRIBUTE_ARCHIVE), fd)) return true;
    }
    Database* db = database();
    if (db == nullptr) return false;
    std::lock_guard guard(db->lock());
    Statement update(db->handle(), "UPDATE file_attributes SET attributes = attributes | ?2 WHERE path = ?1");
    update.bind(1, key).bind(2, static_cast<std::int64_t>(ce::FILE_ATTRIBUTE_ARCHIVE));
    return update.run();
}

std::optional<ce::DWORD> AttributeStore::row(const std::string& key) {
    Database* db = database();
    if (db == nullptr) return std::nullopt;
    std::lock_guard guard(db->lock());
    Statement query = db->kept("SELECT attributes FROM file_attributes WHERE path = ?1");
    query.bind(1, key);
    if (query.step() != SQLITE_ROW) return std::nullopt;
    return settable(static_cast<ce::DWORD>(query.column_int(0)));
}

bool AttributeStore::set_row(const std::string& key, ce::DWORD attributes) {
    Database* db = database();
    if (db == nullptr) return false;
    std::lock_guard guard(db->lock());
    Statement update(db->handle(), "INSERT INTO file_attributes (path, attributes) VALUES (?1, ?2) "
                                   "ON CONFLICT(path) DO UPDATE SET attributes = excluded.attributes");
    update.bind(1, key).bind(2, static_cast<std::int64_t>(settable(attributes)));
    return update.run();
}

bool AttributeStore::remove_row(const std::string& key) {
    Database* db = database();
    if (db == nullptr) return false;
    std::lock_guard guard(db->lock());
    Statement remove(db->handle(), "DELETE FROM file_attributes WHERE path = ?1");
    remove.bind(1, key);
    return remove.run();
}

bool AttributeStore::remove_tree(const std::string& key) {
    Database* db = database();
    if (db == nullptr) return false;
    std::lock_guard guard(db->lock());
    Statement remove(db->handle(), std::string("DELETE FROM file_attributes WHERE path = ?1 OR ") + kBelow);
    remove.bind(1, key);
    return remove.run();
}

bool AttributeStore::move_tree(const std::string& from, const std::string& to) {
    if (from == to) return true;  // a change of case only
    Database* db = database();
    if (db == nullptr) return false;
    Transaction transaction(*db);
    if (!transaction.ok() || !remove_tree(to)) return false;
    Statement move(db->handle(), std::string("UPDATE file_attributes SET path = ?2 || substr(path, length(?1) + 1) "
                                             "WHERE path = ?1 OR ") + kBelow);
    move.bind(1, from).bind(2, to);
    return move.run() && transaction.commit();
}

}  // namespace host
