#include "HandheldPrivacy.h"

#include "host/Device.h"
#include "host/DeviceOwner.h"

namespace handheld {

void HandheldPrivacy::tighten(Console& console) {
    const auto& root = host::Device::current().root();
    const auto was = host::DeviceOwner::tighten(root);
    if (!was) return;
    console.out() << "made the handheld at " << root.string() << " private"
                  << (was->empty() ? std::string() : " (its folder was " + *was + ")")
                  << ": no other account can read or change it now\n";
}

}  // namespace handheld
