#pragma once
// The attributes of the handheld's files, seen alike by every process. They are kept
// beside each file, in its extended attribute (ExtendedAttribute), so that reading them
// needs no database; where the file system keeps none, or on a handheld made before
// they were kept there, they are rows of device.db's file_attributes table by
// case-folded device path (DevicePath::key()). A file with neither has only the archive
// attribute, as a file just put on the device. The directory attribute is never
// stored: it comes from the file system.
//
// An entry is named by its key and its host file; `fd`, when given, is that file open,
// which spares the kernel the path.

#include <filesystem>
#include <optional>
#include <string>

#include "ce/Types.h"

namespace host {

class Database;
class DevicePath;

class AttributeStore {
public:
    // The stored attributes of an entry (none stored: nothing).
    static std::optional<ce::DWORD> stored(const std::string& key, const std::filesystem::path& host, int fd = -1);
    // The attributes to report for an entry, directory bit included; NORMAL when none is set.
    static ce::DWORD reported(const std::string& key, const std::filesystem::path& host, bool is_directory);
    // The same for the entry `name` a listing found in the open folder `folder_fd` (at
    // `host`): a listing asks for every entry, so the key is made only for an entry that
    // keeps nothing beside it.
    static ce::DWORD reported_in(int folder_fd, const char* name, const DevicePath& entry, const char* host,
                                 bool is_directory);
    // Attributes as kept: only read-only, hidden, system and archive survive.
    static ce::DWORD settable(ce::DWORD attributes);

    static bool set(const std::string& key, const std::filesystem::path& host, ce::DWORD attributes, int fd = -1);
    // Adds the archive attribute (a file with none stored has it already).
    static bool mark_archive(const std::string& key, const std::filesystem::path& host, int fd = -1);
    // Forgets the rows of a path and of everything below it (what is kept beside a file
    // goes with the file).
    static bool remove_tree(const std::string& key);
    // Carries the rows of a path and of everything below it to a new path, dropping
    // those the new path had.
    static bool move_tree(const std::string& from, const std::string& to);

private:
    static Database* database();
    static ce::DWORD report(std::optional<ce::DWORD> kept, bool is_directory);
    static std::optional<ce::DWORD> row(const std::string& key);
    static bool set_row(const std::string& key, ce::DWORD attributes);
    static bool remove_row(const std::string& key);
};

}  // namespace host
