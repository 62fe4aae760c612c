#include "ProcessorProfile.h"

#include <algorithm>
#include <cctype>

namespace handheld {

namespace {

constexpr std::string_view kProfiles[] = {"sa1110", "pxa250", "pxa255", "pxa26x", "pxa270",
                                          "s3c2410", "s3c2440", "omap1510", "omap850"};

}  // namespace

std::optional<std::string> find_processor_profile(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(std::begin(kProfiles), std::end(kProfiles), lower) == std::end(kProfiles)) return std::nullopt;
    return lower;
}

std::string processor_profile_list() {
    std::string list;
    for (const auto profile : kProfiles) {
        if (!list.empty()) list += ", ";
        list += profile;
    }
    return list;
}

}  // namespace handheld
