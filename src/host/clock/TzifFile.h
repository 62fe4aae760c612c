#pragma once
// The binary zone files of the tz database ("TZif", versions 1 to 4), as the host keeps
// them below /usr/share/zoneinfo.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/clock/ZoneRules.h"

namespace host::TzifFile {

// Nothing for bytes that are not a whole, consistent zone file, and for a file that
// counts leap seconds (the "right/" copies): the handheld's clock has none.
std::optional<ZoneRules> parse(std::string_view bytes);

// The file of the zone named `name` ("Europe/Berlin") in the host's tz database: the
// folder TZDIR names, else /usr/share/zoneinfo. Nothing for a name that is not a path
// inside it.
std::optional<std::filesystem::path> path_of(const std::string& name);
// The zone named `name` from its file. Nothing for a name path_of() refuses.
std::optional<ZoneRules> load(const std::string& name);

}  // namespace host::TzifFile
