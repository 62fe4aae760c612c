// The corners of the transmit engines: carrier half periods at 26 µs, a space of 0, a
// counter that wraps in the middle of a signal, a space longer than the S3C counter's
// range, the SA-11x0 LED, and the input that piles up during a send.

#include <gtest/gtest.h>

#include "DriverTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "ce/Input.h"
#include "ce/Messages.h"

namespace irdriver_tests {

namespace {

class EdgeCaseTest : public DriverTest {
protected:
    CIrDrvr& driver(const std::string& profile) {
        use_profile(profile);
        CIrDrvr* d = GetIrDriver();
        d->SetPortName(infrared_port(profile).c_str());
        return *d;
    }

    const sim::DecodedTrace& send(CIrDrvr& d, std::vector<std::int32_t> signal, std::uint16_t carrier) {
        EXPECT_EQ(d.SetSignal(signal.data(), static_cast<std::uint16_t>(signal.size()), 0, carrier), kIrOk);
        EXPECT_EQ(d.Send(1, 0), kIrOk);
        static const sim::DecodedTrace none;
        return machine().last_trace() ? *machine().last_trace() : none;
    }
};

struct HalvesCase {
    std::string profile;
    std::uint16_t carrier;
    double tick_ns;
    unsigned period_ticks, on_ticks;
};

void PrintTo(const HalvesCase& c, std::ostream* out) { *out << c.profile << " " << c.carrier; }

class CarrierHalvesTest : public EdgeCaseTest, public ::testing::WithParamInterface<HalvesCase> {};

TEST_P(CarrierHalvesTest, PeriodAndOnTimeInTicks) {
    const auto& c = GetParam();
    const auto& trace = send(driver(c.profile), {2600 * c.carrier / 26, -1000}, c.carrier);
    EXPECT_NEAR(trace.period_ns, c.period_ticks * c.tick_ns, 2.0);
    EXPECT_NEAR(trace.on_ns, c.on_ticks * c.tick_ns, c.tick_ns / 2 + 100);
}

INSTANTIATE_TEST_SUITE_P(
    Families, CarrierHalvesTest,
    ::testing::Values(HalvesCase{"pxa250", 26, 1000 / 3.6864, 96, 48}, HalvesCase{"sa1110", 26, 1000 / 3.6864, 96, 48},
                      HalvesCase{"pxa270", 26, 1000 / 3.25, 85, 43}, HalvesCase{"s3c2440", 26, 1000, 26, 13},
                      HalvesCase{"omap850", 26, 1000 / 6.48, 168, 84},
                      // The UART's bit time is the unit: 16 / 48 MHz times the divisor.
                      HalvesCase{"omap1510", 26, 16000 / 48.0 * 39, 2, 1}, HalvesCase{"omap1510", 10, 16000 / 48.0 * 17, 2, 1},
                      HalvesCase{"omap1510", 150, 16000 / 48.0 * 144, 2, 1}),
    [](const auto& row) { return row.param.profile + "_" + std::to_string(row.param.carrier) + "us"; });

class ProfileEdgeTest : public EdgeCaseTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ProfileEdgeTest, SpaceOfZeroTakesNoTime) {
    const auto& trace = send(driver(GetParam()), {1040, 0, 1040, -1000}, 26);
    ASSERT_EQ(trace.segments.size(), 2u);  // the two marks run together
    EXPECT_NEAR(static_cast<double>(trace.segments[0].ns), 2080'000, 3 * trace.period_ns);
}

TEST_P(ProfileEdgeTest, InputQueuedDuringTheSendIsDropped) {
    ce::mouse_event(ce::MOUSEEVENTF_LEFTDOWN, 5, 5, 0, 0);
    ce::keybd_event(0x41, 0, 0, 0);
    ce::keybd_event(0x41, 0, ce::KEYEVENTF_KEYUP, 0);
    ce::mouse_event(ce::MOUSEEVENTF_LEFTUP, 5, 5, 0, 0);
    send(driver(GetParam()), {600, -600}, 26);
    ce::MSG msg;
    ASSERT_TRUE(ce::PeekMessageW(&msg, nullptr, 0, 0, ce::PM_REMOVE));
    EXPECT_EQ(msg.message, ce::WM_LBUTTONUP);  // outside the stylus range taken
    EXPECT_FALSE(ce::PeekMessageW(&msg, nullptr, 0, 0, ce::PM_REMOVE));
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileEdgeTest,
                         ::testing::Values("sa1110", "pxa250", "pxa255", "pxa26x", "pxa270", "s3c2410", "s3c2440",
                                           "omap1510", "omap850"),
                         [](const auto& row) { return row.param; });

struct WrapCase {
    std::string profile;
    std::uint32_t os_timer;
    double ticks_per_us;
};

void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.profile; }

class CounterWrapTest : public EdgeCaseTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(CounterWrapTest, SignalAcrossTheWrapKeepsItsTiming) {
    const auto& c = GetParam();
    auto& d = driver(c.profile);
    // Send sleeps 100 ms first; the counter then wraps about 1 ms into the signal.
    const auto ticks_before_wrap = static_cast<std::uint32_t>((100'000 + 1'000) * c.ticks_per_us);
    machine().soc().write_physical(c.os_timer + 0x10, 32, 0u - ticks_before_wrap);
    const auto& trace = send(d, {520, -520, 520, -520, 520, -520, 520, -5000}, 26);
    ASSERT_EQ(trace.segments.size(), 8u);
    for (std::size_t i = 0; i < 8; i += 2) EXPECT_EQ(trace.segments[i].cycles, 20u) << i;
    for (std::size_t i = 1; i < 7; i += 2)
        EXPECT_NEAR(static_cast<double>(trace.segments[i].ns), 520'000, 1000 / c.ticks_per_us + 300) << i;
}

INSTANTIATE_TEST_SUITE_P(Families, CounterWrapTest,
                         ::testing::Values(WrapCase{"pxa250", 0x40A00000, 3.6864},
                                           WrapCase{"pxa270", 0x40A00000, 3.25},
                                           WrapCase{"sa1110", 0x90000000, 3.6864}),
                         [](const auto& row) { return row.param.profile; });

TEST_F(EdgeCaseTest, S3cSpaceLongerThanTheCounterSpansAReload) {
    const auto& trace = send(driver("s3c2440"), {1040, -100'000, 1040, -1000}, 26);
    ASSERT_EQ(trace.segments.size(), 4u);
    EXPECT_NEAR(static_cast<double>(trace.segments[1].ns), 100'000'000, 1000 + 300);
}

TEST_F(EdgeCaseTest, Omap850WithEveryTimerBusyBorrowsTimer3AndPutsItBack) {
    auto& d = driver("omap850");
    constexpr std::uint32_t kTimer1 = 0xFFFEC500, kTimer2 = 0xFFFEC600, kTimer3 = 0xFFFEC700;
    constexpr std::uint32_t kCntl = 0x0, kLoad = 0x4, kRunningAutoReload = 0x23;
    auto& soc = machine().soc();
    for (std::uint32_t timer : {kTimer2, kTimer3}) {
        soc.write_physical(timer + kLoad, 32, 50'000);
        soc.write_physical(timer + kCntl, 32, kRunningAutoReload);
    }
    const std::uint32_t tickCntl = soc.read_physical(kTimer1 + kCntl, 32), tickLoad = soc.read_physical(kTimer1 + kLoad, 32);
    EXPECT_EQ(send(d, {1040, -1000}, 26).marks(), 1u);
    // Timer 1 carries the operating system's tick: untouched.
    EXPECT_EQ(soc.read_physical(kTimer1 + kCntl, 32), tickCntl);
    EXPECT_EQ(soc.read_physical(kTimer1 + kLoad, 32), tickLoad);
    EXPECT_EQ(soc.read_physical(kTimer3 + kCntl, 32), kRunningAutoReload);
    EXPECT_EQ(soc.read_physical(kTimer3 + kLoad, 32), 50'000u);
}

TEST_F(EdgeCaseTest, Sa11x0LightsItsLedWhileSending) {
    send(driver("sa1110"), {600, -600}, 26);
    const auto* led = machine().soc().journal().find("LED 0");
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->changes, 2u);
    EXPECT_EQ(machine().led(0), 0);
}

}  // namespace

}  // namespace irdriver_tests
