#pragma once
// The processor families a simulated handheld can have: what the processor-information
// request reports, how the infrared LED is wired, which serial ports the platform lists
// under "Drivers\Active", and the clock settings the boot loader leaves behind.
// One table serves the `handheld` tool (init, status) and the host's hardware calls.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sim {

enum class Family { sa11x0, pxa25x, pxa27x, s3c24xx, omap1510, omap850 };

struct ProcessorRecord {
    std::u16string_view core;  // "XScale", "ARM920T", ...
    std::u16string_view name;  // "PXA270", "S3C2440", ...
    std::uint32_t clock_hz = 0;
    std::u16string_view vendor;
};

// One active serial driver: its device name, its driver key (under HKLM) and the
// UART model behind it (1..3 as the family numbers them, 0 for none).
struct ComPort {
    std::u16string_view name;       // "COM3:"
    std::u16string_view key;        // "Drivers\BuiltIn\IrDA"
    std::u16string_view friendly;   // "Infrared Port"
    int uart = 0;
};

struct Profile {
    std::string_view name;  // "pxa270"
    Family family = Family::pxa27x;
    ProcessorRecord processor;
    // The UART whose transmit pin drives the infrared LED (1..3 in the family's order).
    int ir_uart = 0;
    // Whether the platform's IrDA stack already has that UART in infrared mode at boot.
    bool ir_at_boot = false;
    std::span<const ComPort> ports;
    std::uint64_t performance_hz = 0;
    // S3C24xx only: the clock divider and PWM prescaler register values at boot.
    std::uint32_t clkdivn = 0;
    std::uint32_t tcfg0 = 0;
};

inline constexpr std::string_view kProfileSetting = "device.profile";
inline constexpr std::string_view kDefaultProfile = "pxa270";

std::span<const Profile> profiles();
// Case-insensitive lookup of a profile name.
const Profile* find_profile(std::string_view name);
// The stored profile name's entry, the default for an absent or unknown one.
const Profile& profile_or_default(const std::optional<std::string>& name);
// "sa1110, pxa250, ..." for messages and help.
std::string profile_list();

}  // namespace sim
