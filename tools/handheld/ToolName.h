#pragma once
// The name the tool was called by: "handheld" in the build tree, "kivo-handheld" from the
// installed package. The help, the manual pages and the messages show commands under it,
// so an example read there runs as typed.

#include <string>
#include <string_view>

namespace handheld {

inline constexpr std::string_view kBuiltName = "handheld";

// The name in a program path as main receives it ("/usr/bin/kivo-handheld" → "kivo-handheld").
std::string tool_name_from(std::string_view program_path);

// `text` with each command of the tool ("  handheld init", "`handheld ir log`",
// "&& handheld key", "sudo handheld install") spelt with `name`; prose ("the handheld's clock") keeps the word.
std::string as_called(std::string_view text, std::string_view name);

}  // namespace handheld
