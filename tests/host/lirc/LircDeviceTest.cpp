// What the user reads when a LIRC device cannot serve as the infrared port, how a long
// transmission is cut into the writes the kernel takes, and how receiver samples become
// the press the simulated receiver plays.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <numeric>

#include "LircStandIn.h"
#include "host/hw/lirc/LircBridge.h"
#include "host/hw/lirc/LircCapture.h"
#include "host/hw/lirc/LircWritePlan.h"

namespace lirc_tests {

namespace {

using ::testing::HasSubstr;

struct OpenCase {
    const char* name;
    std::uint32_t features;
    bool lirc;
    int open_error;
    bool send, receive;
    const char* message;
};

class LircDeviceOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(LircDeviceOpen, SaysWhatIsWrongInWordsAUserCanActOn) {
    const OpenCase& row = GetParam();
    LircStandIn lirc;
    if (row.open_error != ENOENT) {
        StandInDevice& device = lirc.add("/dev/lirc0", row.features);
        device.lirc = row.lirc;
        device.open_error = row.open_error;
    }
    host::hw::LircDevice device(lirc);
    const std::string error = device.open("/dev/lirc0", row.send, row.receive);
    EXPECT_THAT(error, HasSubstr(row.message));
    EXPECT_EQ(device.is_open(), error.empty());
    EXPECT_EQ(lirc.open_count(), error.empty() ? 1 : 0) << "a device that will not do is closed again";
}

constexpr std::uint32_t kSends = LIRC_CAN_SEND_PULSE, kReceives = LIRC_CAN_REC_MODE2;

INSTANTIATE_TEST_SUITE_P(
    Errors, LircDeviceOpen,
    ::testing::Values(
        OpenCase{"Missing", 0, true, ENOENT, true, true, "/dev/lirc0: no such device (is the transceiver's kernel module loaded?"},
        OpenCase{"Permissions", kSends | kReceives, true, EACCES, true, true, "/dev/lirc0: permission denied (ls -l /dev/lirc0"},
        OpenCase{"Busy", kSends | kReceives, true, EBUSY, true, true, "/dev/lirc0: busy: another program holds the device"},
        OpenCase{"Unplugged", kSends | kReceives, true, ENODEV, true, true, "/dev/lirc0: the device has gone"},
        OpenCase{"NotLirc", 0, false, 0, true, true, "/dev/lirc0: not a LIRC device (LIRC_GET_FEATURES"},
        OpenCase{"CannotSend", kReceives, true, 0, true, true, "/dev/lirc0: cannot send: the device offers no LIRC_CAN_SEND_PULSE"},
        OpenCase{"CannotReceive", kSends, true, 0, true, true,
                 "/dev/lirc0: cannot receive: the device offers no LIRC_CAN_REC_MODE2 (a transmitter only? name the "
                 "receiver's device after it"},
        OpenCase{"TransmitterForSending", kSends, true, 0, true, false, ""},
        OpenCase{"Transceiver", kSends | kReceives, true, 0, true, true, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LircBridgeCheck, DescribesBothDevicesOrTheOneThatWillNotDo) {
    LircStandIn lirc;
    lirc.add("/dev/lirc0", LircStandIn::kTransceiver);
    lirc.add("/dev/lirc1", kSends);
    std::string description;
    EXPECT_EQ(host::hw::LircBridge::check({"/dev/lirc0", ""}, lirc, description), "");
    EXPECT_EQ(description,
              "/dev/lirc0: sends pulses (carrier, duty cycle settable), receives mode2 (timeout settable, carrier not "
              "measured, 38 kHz assumed)");
    EXPECT_THAT(host::hw::LircBridge::check({"/dev/lirc0", "/dev/lirc1"}, lirc, description),
                HasSubstr("/dev/lirc1: cannot receive"));
    EXPECT_EQ(lirc.open_count(), 0);
}

// Writes taken back together, with the spaces between them, give the transmission.
std::vector<std::uint32_t> rejoined(const std::vector<host::hw::LircWrite>& writes) {
    std::vector<std::uint32_t> values;
    for (const auto& write : writes) {
        values.insert(values.end(), write.values.begin(), write.values.end());
        if (&write != &writes.back()) values.push_back(write.space_after_us);
    }
    return values;
}

TEST(LircWritePlan, CutsOnlyAtTheLongestSpacesWithinTheKernelsLimits) {
    // 600 short bursts (1199 values, 0.6 s) in frames of 100 ending on a 20 ms gap.
    std::vector<std::uint32_t> values;
    for (int burst = 0; burst < 600; ++burst) {
        if (burst > 0) values.push_back(burst % 100 == 0 ? 20'000 : 400);
        values.push_back(500);
    }
    std::string error;
    const auto writes = host::hw::LircWritePlan::split(values, error);
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(rejoined(writes), values);
    for (const auto& write : writes) {
        EXPECT_EQ(write.values.size() % 2, 1u);
        EXPECT_LE(write.values.size(), host::hw::LircWritePlan::kMostValues);
        EXPECT_LE(std::accumulate(write.values.begin(), write.values.end(), 0ull), host::hw::LircWritePlan::kLongestWriteUs);
        if (&write != &writes.back()) {
            EXPECT_EQ(write.space_after_us, 20'000u) << "a cut inside a frame";
        }
    }
    EXPECT_TRUE(error.empty());

    EXPECT_TRUE(host::hw::LircWritePlan::split({100, 200, 500'001}, error).empty());
    EXPECT_THAT(error, HasSubstr("a pulse of 500001 us is longer than one LIRC write may last"));
}

TEST(LircCapture, KeepsThePressFromTheFirstPulseToTheEnd) {
    host::hw::LircCapture capture;
    const std::uint32_t samples[] = {LIRC_SPACE(3'000'000), LIRC_PULSE(9000), LIRC_SPACE(4500), LIRC_PULSE(300),
                                     LIRC_PULSE(260), LIRC_SPACE(1690), LIRC_FREQUENCY(40'000), LIRC_PULSE(560),
                                     LIRC_SPACE(30'000), LIRC_TIMEOUT(125'000), LIRC_PULSE(9000)};
    std::int64_t t = 1'000'000'000;
    for (const std::uint32_t sample : samples) capture.add(sample, t += 1'000'000);
    ASSERT_TRUE(capture.done());
    const sim::InfraredPress press = capture.press(capture.first_pulse_ns() - 1'000'000'000);
    EXPECT_EQ(press.intro, (std::vector<std::int32_t>{9000, -4500, 560, -1690, 560}));
    EXPECT_EQ(press.carrier_hz, 40'000u);
    // The first pulse ended 2 ms after the capture's reference and lasted 9 ms.
    EXPECT_EQ(press.after_ns, 0);
    EXPECT_EQ(capture.first_pulse_ns(), 1'002'000'000 - 9'000'000);

    host::hw::LircCapture overflowing;
    overflowing.add(LIRC_PULSE(560), 0);
    overflowing.add(LIRC_OVERFLOW(0xFFFFFF), 0);
    EXPECT_TRUE(overflowing.done());
    EXPECT_TRUE(overflowing.overflowed());
    EXPECT_EQ(overflowing.press(0).carrier_hz, 38'000u);

    host::hw::LircCapture ended_by_space;
    ended_by_space.add(LIRC_PULSE(560), 0);
    ended_by_space.add(LIRC_SPACE(250'000), 0);
    EXPECT_TRUE(ended_by_space.done());
    EXPECT_EQ(ended_by_space.press(0).intro, std::vector<std::int32_t>{560});
}

}  // namespace

}  // namespace lirc_tests
