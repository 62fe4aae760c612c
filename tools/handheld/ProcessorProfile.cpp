#include "ProcessorProfile.h"

#include "ce/Text.h"

namespace handheld {

std::optional<std::string> find_processor_profile(std::string_view name) {
    const sim::Profile* profile = sim::find_profile(name);
    if (profile == nullptr) return std::nullopt;
    return std::string(profile->name);
}

std::string processor_profile_list() { return sim::profile_list(); }

std::string processor_description(const sim::Profile& profile) {
    const auto& processor = profile.processor;
    return ce::utf8_from_utf16(processor.core) + ' ' + ce::utf8_from_utf16(processor.name) +
           ", " + std::to_string(processor.clock_hz / 1'000'000) + " MHz";
}

}  // namespace handheld
