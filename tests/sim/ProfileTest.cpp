// Every profile: the processor record the driver detects, the pages its family maps,
// the serial ports it lists and which UART is in infrared mode before and after SETIR.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HardwareTesting.h"
#include "ce/Files.h"
#include "ce/Processor.h"
#include "ce/Serial.h"
#include "ce/Text.h"

namespace sim_tests {

namespace {

struct ProfileCase {
    std::string profile;
    std::string detection_key;  // the first key of the driver table found in core + " " + name
    std::vector<std::uint32_t> pages;
    std::uint32_t probe_page;  // the infrared UART's page, 0 where the family does not probe
    std::uint32_t probe_offset;
    std::uint32_t probe_bits;
    bool infrared_at_boot;
    std::u16string infrared_port;
};

const std::vector<std::string> kKeys = {"SA11", "PXA250", "PXA255", "PXA26", "PXA27",
                                        "S3C2", "SC32",   "OMAP1510", "ARM920", "OMAP850"};

std::string first_key(const std::string& text) {
    for (const auto& key : kKeys)
        if (text.find(key) != std::string::npos) return key;
    return "";
}

void PrintTo(const ProfileCase& c, std::ostream* out) { *out << c.profile; }

class ProfileTest : public HardwareTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileTest, ProcessorRecordSelectsTheFamilysDriver) {
    use_profile(GetParam().profile);
    ce::PROCESSOR_INFO info;
    ce::DWORD returned = 0;
    ASSERT_TRUE(ce::KernelIoControl(ce::IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &returned));
    EXPECT_EQ(returned, 576u);
    const std::string text = ce::utf8_from_utf16(info.szProcessCore) + " " + ce::utf8_from_utf16(info.szProcessorName);
    EXPECT_EQ(first_key(text), GetParam().detection_key) << text;
    EXPECT_GT(info.dwClockSpeed, 0u);
}

TEST_P(ProfileTest, EveryPageTheDriverMapsExists) {
    use_profile(GetParam().profile);
    for (const auto page : GetParam().pages) EXPECT_TRUE(map(page).mapped()) << std::hex << page;
    // Where the bus has nothing, the copy fails and the driver's pointer stays null.
    EXPECT_FALSE(map(0x12340000).mapped());
}

TEST_P(ProfileTest, InfraredUartIsInInfraredModeAfterSetir) {
    const auto& c = GetParam();
    use_profile(c.profile);
    if (c.probe_page != 0) {
        const auto uart = map(c.probe_page, 0x602);
        EXPECT_EQ((uart.read32(c.probe_offset) & c.probe_bits) != 0, c.infrared_at_boot);
    }
    ce::HANDLE port = ce::CreateFileW(c.infrared_port.c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    ASSERT_NE(port, ce::INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ce::EscapeCommFunction(port, ce::SETIR));
    if (c.probe_page != 0) {
        const auto uart = map(c.probe_page, 0x602);
        EXPECT_NE(uart.read32(c.probe_offset) & c.probe_bits, 0u);
        EXPECT_TRUE(ce::EscapeCommFunction(port, ce::CLRIR));
        EXPECT_EQ(uart.read32(c.probe_offset) & c.probe_bits, 0u);
    }
    EXPECT_TRUE(ce::CloseHandle(port));
}

const std::vector<std::uint32_t> kPxaPages = {0x40A00000, 0x40E00000, 0x40D00000, 0x40100000, 0x40200000, 0x40700000};
const std::vector<std::uint32_t> kS3cPages = {0x51000000, 0x56000000, 0x4A000000, 0x4C000000,
                                              0x50000000, 0x50004000, 0x50008000};

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfileTest,
    ::testing::Values(
        ProfileCase{"sa1110", "SA11", {0x80030000, 0x90060000, 0x90000000, 0x90050000}, 0, 0, 0, false, u"COM2:"},
        ProfileCase{"pxa250", "PXA250", kPxaPages, 0x40700000, 0x20, 0x03, true, u"COM3:"},
        ProfileCase{"pxa255", "PXA255", kPxaPages, 0x40700000, 0x20, 0x03, false, u"COM3:"},
        ProfileCase{"pxa26x", "PXA26", kPxaPages, 0x40200000, 0x20, 0x03, true, u"COM2:"},
        ProfileCase{"pxa270", "PXA27", kPxaPages, 0x40700000, 0x20, 0x03, false, u"COM3:"},
        ProfileCase{"s3c2410", "S3C2", kS3cPages, 0x50008000, 0x00, 0x40, true, u"COM3:"},
        ProfileCase{"s3c2440", "S3C2", kS3cPages, 0x50004000, 0x00, 0x40, false, u"COM2:"},
        ProfileCase{"omap1510", "OMAP1510", {0xFFFB9000, 0xFFFEC000, 0xFFFE1000}, 0, 0, 0, false, u"COM3:"},
        ProfileCase{"omap850", "OMAP850", {0xFFFB0000, 0xFFFEC000, 0xFFFBC000, 0xFFFE1000}, 0, 0, 0, false, u"COM3:"}),
    [](const auto& row) { return row.param.profile; });

}  // namespace

}  // namespace sim_tests
