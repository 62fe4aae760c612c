#include "host/display/DisplayPower.h"

#include <array>
#include <string>
#include <utility>

#include "host/Device.h"

namespace host {

namespace {

constexpr std::array<std::pair<ce::VIDEO_POWER_STATE, std::string_view>, 4> kNames{{
    {ce::VideoPowerOn, "on"},
    {ce::VideoPowerStandBy, "standby"},
    {ce::VideoPowerSuspend, "suspend"},
    {ce::VideoPowerOff, "off"},
}};

}  // namespace

std::string_view DisplayPower::name_of(ce::VIDEO_POWER_STATE state) {
    for (const auto& [known, name] : kNames)
        if (known == state) return name;
    return "on";
}

std::optional<ce::VIDEO_POWER_STATE> DisplayPower::from_name(std::string_view name) {
    for (const auto& [state, known] : kNames)
        if (known == name) return state;
    return std::nullopt;
}

ce::VIDEO_POWER_STATE DisplayPower::state() {
    const auto stored = Device::current().database().setting(kSetting);
    return stored ? from_name(*stored).value_or(ce::VideoPowerOn) : ce::VideoPowerOn;
}

bool DisplayPower::set(ce::VIDEO_POWER_STATE state) {
    return Device::current().database().set_setting(kSetting, name_of(state));
}

}  // namespace host
