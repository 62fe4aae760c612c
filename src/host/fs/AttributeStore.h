#pragma once
// The attributes of the handheld's files, kept in device.db's file_attributes table by
// case-folded device path (DevicePath::key()) so that every process sees them. A file
// without a row has only the archive attribute, as a file just put on the device.
// The directory attribute is never stored: it comes from the file system.

#include <optional>
#include <string>

#include "ce/Types.h"

namespace host {

class Database;

class AttributeStore {
public:
    // The stored attributes of a path (none stored: nothing).
    static std::optional<ce::DWORD> stored(const std::string& key);
    // The attributes to report for an entry, directory bit included; NORMAL when none is set.
    static ce::DWORD reported(const std::string& key, bool is_directory);
    // Attributes as kept: only read-only, hidden, system and archive survive.
    static ce::DWORD settable(ce::DWORD attributes);

    static bool set(const std::string& key, ce::DWORD attributes);
    // Adds the archive attribute (a file without a row has it already).
    static bool mark_archive(const std::string& key);
    // Forgets a path and everything below it.
    static bool remove_tree(const std::string& key);
    // Carries the rows of a path and of everything below it to a new path.
    static bool move_tree(const std::string& from, const std::string& to);

private:
    static Database* database();
};

}  // namespace host
