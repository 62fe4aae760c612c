#pragma once
// The processor families a handheld can be given; the SoC model and the infrared
// drivers pick their registers from the profile stored in the device settings.

#include <optional>
#include <string>
#include <string_view>

namespace handheld {

inline constexpr std::string_view kProfileSetting = "device.profile";
inline constexpr std::string_view kDefaultProfile = "pxa270";

// The profile's canonical (lower-case) name, or nothing for a name not in the list.
std::optional<std::string> find_processor_profile(std::string_view name);
// "sa1110, pxa250, ..." for messages and help.
std::string processor_profile_list();

}  // namespace handheld
