#pragma once
// The processor families a handheld can be given. The table itself is the SoC model's
// (sim/Profile.h), so the tool and the handheld's hardware calls never disagree.

#include <optional>
#include <string>
#include <string_view>

#include "sim/Profile.h"

namespace handheld {

inline constexpr std::string_view kProfileSetting = sim::kProfileSetting;
inline constexpr std::string_view kDefaultProfile = sim::kDefaultProfile;

// The profile's canonical (lower-case) name, or nothing for a name not in the list.
std::optional<std::string> find_processor_profile(std::string_view name);
// "sa1110, pxa250, ..." for messages and help.
std::string processor_profile_list();
// "XScale PXA270, 520 MHz" for `status`.
std::string processor_description(const sim::Profile& profile);

}  // namespace handheld
