#pragma once
// Key paths and value names as the registry compares them: `\`-separated components,
// equal when they are equal ignoring case, stored (UTF-8) with the spelling they were
// created with and, beside it, a case-folded form that lookups use.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Types.h"

namespace host::registry_name {

inline constexpr std::size_t kMaxKeyNameChars = 255;
inline constexpr std::size_t kMaxValueNameChars = 16383;

// The case-folded UTF-8 form of a name.
std::string folded(std::u16string_view name);

// The components of a subkey path; a null or empty path has none (the key itself).
// Nothing for an empty component ("a\\b", "\a") or one longer than kMaxKeyNameChars;
// a single trailing separator is tolerated.
std::optional<std::vector<std::u16string>> split_path(ce::LPCWSTR path);

// A value name; null and empty both name the default value. Nothing when too long.
std::optional<std::u16string> value_name(ce::LPCWSTR name);

}  // namespace host::registry_name
