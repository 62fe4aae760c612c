#pragma once
// Device paths and file attributes as the command line writes and shows them.

#include <string>
#include <string_view>

#include "ce/Types.h"

namespace handheld {

// A device path from a shell word: '/' is taken for '\' (device names cannot hold
// either, and a shell eats unquoted backslashes), a missing leading '\' is added and
// a trailing one dropped, so "My Documents/a.wav" is "\My Documents\a.wav".
std::u16string device_path_from_argument(std::string_view argument);

// Five columns "drhsa": directory, read-only, hidden, system, archive; '-' where unset.
std::string attribute_letters(ce::DWORD attributes);

}  // namespace handheld
