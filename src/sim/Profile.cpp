#include "sim/Profile.h"

#include <algorithm>
#include <cctype>

namespace sim {

namespace {

constexpr ComPort kSaPorts[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM2:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 2},
    {u"WAV1:", u"Drivers\\BuiltIn\\WaveDev", u"Audio", 0},
};
// PXA: FFUART, BTUART, STUART; the infrared port is on STUART...
constexpr ComPort kPxaPorts[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM2:", u"Drivers\\BuiltIn\\Serial2", u"Bluetooth on COM2:", 2},
    {u"COM3:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 3},
    {u"WAV1:", u"Drivers\\BuiltIn\\WaveDev", u"Audio", 0},
};
// ... except on the PXA26x board, whose LED hangs on BTUART.
constexpr ComPort kPxa26xPorts[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM2:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 2},
    {u"COM3:", u"Drivers\\BuiltIn\\Serial3", u"Serial on COM3:", 3},
};
constexpr ComPort kS3c2410Ports[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM2:", u"Drivers\\BuiltIn\\Serial2", u"Serial on COM2:", 2},
    {u"COM3:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 3},
};
constexpr ComPort kS3c2440Ports[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM2:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 2},
    {u"COM3:", u"Drivers\\BuiltIn\\Serial3", u"Serial on COM3:", 3},
};
constexpr ComPort kOmapPorts[] = {
    {u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:", 1},
    {u"COM3:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port", 3},
    {u"WAV1:", u"Drivers\\BuiltIn\\WaveDev", u"Audio", 0},
};

constexpr Profile kProfiles[] = {
    {"sa1110", Family::sa11x0, {u"StrongARM", u"SA1110", 206'000'000, u"Intel"}, 2, false, kSaPorts, 3'686'400, 0, 0},
    {"pxa250", Family::pxa25x, {u"XScale", u"PXA250", 400'000'000, u"Intel"}, 3, true, kPxaPorts, 3'686'400, 0, 0},
    {"pxa255", Family::pxa25x, {u"XScale", u"PXA255", 400'000'000, u"Intel"}, 3, false, kPxaPorts, 3'686'400, 0, 0},
    {"pxa26x", Family::pxa25x, {u"XScale", u"PXA263", 400'000'000, u"Intel"}, 2, true, kPxa26xPorts, 3'686'400, 0, 0},
    {"pxa270", Family::pxa27x, {u"XScale", u"PXA270", 520'000'000, u"Intel"}, 3, false, kPxaPorts, 3'250'000, 0, 0},
    // 266 MHz, HCLK = FCLK/2, PCLK = HCLK/2, prescaler 18: PWM timers at 1.75 MHz.
    {"s3c2410", Family::s3c24xx, {u"ARM920T", u"S3C2410", 266'000'000, u"Samsung"}, 3, true, kS3c2410Ports,
     1'000'000, 0x3, 0x1200},
    // 400 MHz, HCLK = FCLK/4, PCLK = HCLK/2, prescaler 24: PWM timers at 1 MHz.
    {"s3c2440", Family::s3c24xx, {u"ARM920T", u"S3C2440", 400'000'000, u"Samsung"}, 2, false, kS3c2440Ports,
     1'000'000, 0x5, 0x1800},
    {"omap1510", Family::omap1510, {u"ARM925T", u"OMAP1510", 175'000'000, u"Texas Instruments"}, 3, false, kOmapPorts,
     1'000'000, 0, 0},
    {"omap850", Family::omap850, {u"ARM926EJ-S", u"OMAP850", 200'000'000, u"Texas Instruments"}, 3, false, kOmapPorts,
     1'000'000, 0, 0},
};

}  // namespace

std::span<const Profile> profiles() { return kProfiles; }

const Profile* find_profile(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto found = std::find_if(std::begin(kProfiles), std::end(kProfiles),
                                    [&](const Profile& profile) { return profile.name == lower; });
    return found == std::end(kProfiles) ? nullptr : found;
}

const Profile& profile_or_default(const std::optional<std::string>& name) {
    const Profile* profile = name ? find_profile(*name) : nullptr;
    return profile != nullptr ? *profile : *find_profile(kDefaultProfile);
}

std::string profile_list() {
    std::string list;
    for (const auto& profile : kProfiles) {
        if (!list.empty()) list += ", ";
        list += profile.name;
    }
    return list;
}

}  // namespace sim
