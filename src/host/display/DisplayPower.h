#pragma once
// The display's power state, a device setting of the handheld: what the display driver
// was last told, shown by `handheld status`. A handheld that was never told is on.

#include <optional>
#include <string_view>

#include "ce/Display.h"

namespace host {

class DisplayPower {
public:
    static constexpr const char* kSetting = "display.power";

    static ce::VIDEO_POWER_STATE state();
    static bool set(ce::VIDEO_POWER_STATE state);

    // "on", "standby", "suspend", "off".
    static std::string_view name_of(ce::VIDEO_POWER_STATE state);
    static std::optional<ce::VIDEO_POWER_STATE> from_name(std::string_view name);
};

}  // namespace host
