#include "FreshHandheld.h"

#include <stdlib.h>

#include "host/Device.h"
#include "host/hw/Machine.h"

namespace bench {

std::filesystem::path select_fresh_handheld(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("kivo-" + name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    host::Device::select(pattern);
    return pattern;
}

void use_profile(const std::string& profile) {
    host::Device& device = host::Device::current();
    device.database().set_setting("device.profile", profile);
    device.database().set_setting(host::hw::kPacingSetting, "off");
    // Selected again so that the machine is built for the profile just stored (a copy of
    // the root: selecting replaces the device that holds it).
    const std::filesystem::path root = device.root();
    host::Device::select(root);
}

std::filesystem::path select_fresh_handheld(const std::string& name, const std::string& profile) {
    const auto root = select_fresh_handheld(name);
    if (!root.empty()) use_profile(profile);
    return root;
}

void remove_handheld(const std::filesystem::path& root) {
    const auto stand_in = select_fresh_handheld("closed");
    std::filesystem::remove_all(root);
    if (!stand_in.empty()) std::filesystem::remove_all(stand_in);
}

}  // namespace bench
