#pragma once
// One line of the file chooser's list: a file's name with its date and size as the
// list shows them, and the order the list keeps (folders first, then by name).

#include <cstdint>
#include <string>

#include "ce/Files.h"

struct FileEntry {
    std::u16string name;
    std::u16string size_text;
    std::u16string date_text;
    bool is_file = true;

    // The entry for what a folder search found.
    static FileEntry From(const ce::WIN32_FIND_DATAW& found);
    // Below 1024 bytes "1023B"; below a megabyte whole kilobytes, "1K"; beyond, the
    // megabytes with their first decimal, cut off rather than rounded: "3,5M".
    static std::u16string SizeText(std::uint64_t bytes);
    // The creation time as the handheld's short date, in local time.
    static std::u16string DateText(const ce::FILETIME& created);
    // The name comparison the list sorts and finds by: letters' case aside, then by case.
    static int CompareNames(const std::u16string& a, const std::u16string& b);
    // The same name as the handheld's file system sees it: letters' case aside.
    static bool SameName(const std::u16string& a, const std::u16string& b);

    bool operator<(const FileEntry& other) const;
};
