#pragma once
// File names of databases: folder + sanitised name (+ "_n" when taken) + ".pdb".

#include <string>
#include <string_view>

namespace platform::card {

// The 8-bit name in UTF-16 with every character a file name cannot hold (space, \ / :
// ? * " < > |) replaced by an underscore.
std::u16string sanitise_name(std::string_view name);

// A path for a new database file that no entry of the folder has yet: the sanitised
// name, then with "_1", "_2", ... appended. `folder` ends with a backslash.
// 0, or kNoFreeFileName once the path would reach 260 characters.
int make_database_path(const std::u16string& folder, std::string_view name, std::u16string& path);

// Where the new contents of a database file are written before they replace it:
// beside it, of the same length (so it stays inside the path limit), and out of the
// "*.pdb" searches.
std::u16string staging_path(const std::u16string& path);

}  // namespace platform::card
