#pragma once
// The handheld every bench starts from: new and empty, in a temporary folder, selected
// for this process.

#include <filesystem>
#include <string>

namespace bench {

// Makes /tmp/kivo-NAME-XXXXXX and selects it; an empty path when no folder can be made.
std::filesystem::path select_fresh_handheld(const std::string& name);

// Gives the selected handheld PROFILE's processor, its infrared port unpaced so that a
// bench times the host's work rather than the signal's own length.
void use_profile(const std::string& profile);

// Both of the above.
std::filesystem::path select_fresh_handheld(const std::string& name, const std::string& profile);

// Removes the handheld at ROOT, first selecting an empty stand-in so that nothing of this
// process still holds its files.
void remove_handheld(const std::filesystem::path& root);

}  // namespace bench
