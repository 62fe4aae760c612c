// Signals sent through SetSignal + Send on every profile, read back from the LED trace:
// the lead-in once and the repeated frame per pass, marks in whole carrier cycles at
// the carrier period the family's tick arithmetic gives, spaces within a tick of their
// length, and every register, mask, pin function and priority as it was found.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "DriverTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "ce/Input.h"
#include "ce/Messages.h"
#include "host/hw/InputState.h"

namespace irdriver_tests {

namespace {

struct Signal {
    const char* name;
    std::vector<std::int32_t> durations;
    std::uint16_t repeatStart;
    std::uint16_t carrierUs;
};

// Short versions of the common remote-control shapes, so a test run stays quick.
const Signal kSignals[] = {
    {"NecLike", {9000, -4500, 560, -560, 560, -1690, 560, -1690, 560, -20000, 9000, -2250, 560, -20000}, 10, 26},
    {"Rc5Like36k", {889, -889, 1778, -889, 889, -1778, 889, -889, 889, -15000}, 0, 28},
    {"SonyLike40k", {2400, -600, 1200, -600, 600, -600, 1200, -600, 600, -10000}, 0, 25},
    {"Carrier56k", {500, -500, 1000, -500, 500, -8000}, 0, 18},
    {"TrailingMarkNoRepeat", {3000, -1000, 1000, -1000, 2000}, 5, 26},
};

// How a family turns µs into what the LED shows: the carrier period its arithmetic gives
// for each carrier of the table (ns, worked out by hand from the counter's rate and the
// rounding each family applies), marks in whole carrier cycles, spaces in whole ticks.
struct Family {
    std::string profile;
    std::map<std::uint16_t, double> period_ns;                            // by carrier µs: 26, 28, 25, 18
    std::function<std::int64_t(std::int32_t, std::uint16_t)> mark_cycles;  // -1: UART-made carrier
    double ticks_per_us;                                                  // spaces: floor(µs × rate) ticks
    std::vector<std::uint32_t> registers;  // physical addresses that must read back as before
};

// OS timer at 3.6864 MHz: 96, 103, 92 and 66 ticks (x.4 and below round down).
const std::map<std::uint16_t, double> kOsTimerPeriods{{26, 26041.67}, {28, 27940.54}, {25, 24956.60}, {18, 17903.65}};

std::int64_t whole_periods(std::int32_t us, std::uint16_t carrier) { return us / carrier; }

Family pxa(const std::string& profile) {
    return {profile, kOsTimerPeriods, whole_periods, 3.6864, {0x40E00010, 0x40E0005C, 0x40D00004}};
}

Family pxa270() {
    // 3.25 MHz: 84.5, 91, 81.25 and 58.5 ticks round to 85, 91, 81 and 59.
    return {"pxa270",
            {{26, 26153.85}, {28, 28000.0}, {25, 24923.08}, {18, 18153.85}},
            whole_periods,
            3.25,
            {0x40E00010, 0x40E0005C, 0x40D00004}};
}

Family sa1110() { return {"sa1110", kOsTimerPeriods, whole_periods, 3.6864, {0x80030000, 0x90060000}}; }

// PWM timer ticks per ms; periods and marks are cut to whole ticks before dividing.
Family s3c(const std::string& profile, std::int64_t tpm, std::map<std::uint16_t, double> periods) {
    return {profile, std::move(periods),
            [tpm](std::int32_t us, std::uint16_t c) { return (us * tpm / 1000) / (c * tpm / 1000); },
            static_cast<double>(tpm) / 1000,
            {0x51000004, 0x51000008, 0x4A000008, 0x56000070}};
}

Family omap850() {
    // 6.48 MHz: 168, 181, 162 and 116 ticks; a mark is one period more than it holds.
    return {"omap850",
            {{26, 25925.93}, {28, 27932.10}, {25, 25000.0}, {18, 17901.23}},
            [](std::int32_t us, std::uint16_t c) { return (us * 6480LL / 1000) / (c * 6480LL / 1000) + 1; },
            6.48,
            {0xFFFBC808, 0xFFFBC810, 0xFFFE107C, 0xFFFEC700, 0xFFFEC704}};
}

Family omap1510() {
    // Two UART bits at 48 MHz / 16 / divisor: divisors 39, 41, 37 and 27.
    return {"omap1510",
            {{26, 26000.0}, {28, 27333.33}, {25, 24666.67}, {18, 18000.0}},
            [](std::int32_t, std::uint16_t) { return std::int64_t{-1}; },
            3.038,
            {0xFFFB980C, 0xFFFB9820, 0xFFFB9840, 0xFFFE1018, 0xFFFE1080, 0xFFFEC600, 0xFFFEC604}};
}

struct Case {
    Family family;
    const Signal* signal;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.family.profile << "/" << c.signal->name; }

class TransmitTest : public DriverTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        use_profile(GetParam().family.profile);
        for (std::uint32_t address : GetParam().family.registers)
            before_.push_back(machine().soc().read_physical(address, 32));
        driver_ = GetIrDriver();
        ASSERT_NE(driver_, nullptr);
        driver_->SetPortName(infrared_port(GetParam().family.profile).c_str());
    }

    void set_signal() {
        const Signal& s = *GetParam().signal;
        ASSERT_EQ(driver_->SetSignal(s.durations.data(), static_cast<std::uint16_t>(s.durations.size()),
                                     s.repeatStart, s.carrierUs),
                  kIrOk);
    }

    // The durations passes should show, adjacent spaces joined.
    static std::vector<std::int32_t> expected(unsigned passes) {
        const Signal& s = *GetParam().signal;
        std::vector<std::int32_t> all = s.durations;
        if (all.back() > 0) all.push_back(-500'000);
        const std::size_t repeat = std::min<std::size_t>(s.repeatStart + (s.durations.back() > 0 ? 1 : 0), all.size());
        std::vector<std::int32_t> out(all.begin(), all.end());
        for (unsigned p = 1; p < passes; ++p) out.insert(out.end(), all.begin() + static_cast<long>(repeat), all.end());
        return out;
    }

    // open_end: the last space runs on to the end of the send (a key still being polled).
    void expect_trace(unsigned passes, bool open_end = false) {
        const auto& f = GetParam().family;
        const Signal& s = *GetParam().signal;
        const auto& trace = machine().last_trace();
        ASSERT_TRUE(trace.has_value());
        const double period = f.period_ns.at(s.carrierUs);
        EXPECT_NEAR(trace->period_ns, period, 2.0);
        const double tick_ns = 1000 / f.ticks_per_us;
        auto space_ns = [&](std::int32_t us) { return std::floor(us * f.ticks_per_us) * tick_ns; };
        const auto want = expected(passes);
        ASSERT_EQ(trace->segments.size(), want.size()) << "passes " << passes;
        for (std::size_t i = 0; i < want.size(); ++i) {
            const auto& got = trace->segments[i];
            ASSERT_EQ(got.mark, want[i] > 0) << i;
            if (want[i] > 0) {
                const auto cycles = f.mark_cycles(want[i], s.carrierUs);
                if (cycles >= 0) EXPECT_EQ(got.cycles, static_cast<std::uint32_t>(cycles)) << i;
                else EXPECT_NEAR(static_cast<double>(got.ns), want[i] * 1000.0, 1.5 * period) << i;
            } else {
                const double tolerance = f.mark_cycles(1, 1) < 0 ? 1.5 * period : tick_ns + 300;
                if (open_end && i + 1 == want.size()) EXPECT_GE(static_cast<double>(got.ns), space_ns(-want[i]) - tolerance);
                else EXPECT_NEAR(static_cast<double>(got.ns), space_ns(-want[i]), tolerance) << i;
            }
        }
    }

    void expect_restored() {
        ReleaseIrDriver();
        driver_ = nullptr;
        EXPECT_TRUE(machine().soc().journal().unrestored().empty());
        const auto& registers = GetParam().family.registers;
        for (std::size_t i = 0; i < registers.size(); ++i)
            EXPECT_EQ(machine().soc().read_physical(registers[i], 32), before_[i]) << std::hex << registers[i];
    }

    // Time one pass of the repeated frame takes, in ns (for holds measured in passes).
    std::int64_t pass_ns(bool lead_in) const {
        const Signal& s = *GetParam().signal;
        std::int64_t total = 0;
        const auto want = expected(2);
        const std::size_t lead = expected(1).size();
        for (std::size_t i = lead_in ? 0 : lead; i < (lead_in ? lead : want.size()); ++i)
            total += std::abs(std::int64_t{want[i]}) * 1000;
        (void)s;
        return total;
    }

    CIrDrvr* driver_ = nullptr;
    std::vector<std::uint32_t> before_;
};

TEST_P(TransmitTest, CountedPasses) {
    set_signal();
    for (auto [count, passes] : {std::pair{std::uint16_t{1}, 1u}, {3, 3u}, {0, 3u}, {0xFFFF, 1u}}) {
        set_signal();
        ASSERT_EQ(driver_->Send(count, 0), kIrOk);
        expect_trace(passes);
        EXPECT_EQ(driver_->nextIndex(), driver_->repeatStart());
    }
    // Without a new SetSignal only the repeated frame goes out.
    const auto previous = machine().last_transmission()->begin_ns;
    ASSERT_EQ(driver_->Send(1, 0), kIrOk);
    const std::size_t frame = expected(2).size() - expected(1).size();
    if (frame == 0) EXPECT_EQ(machine().last_transmission()->begin_ns, previous);  // nothing emitted, nothing recorded
    else EXPECT_EQ(machine().last_trace()->segments.size(), frame);
    expect_restored();
}

TEST_P(TransmitTest, HoldReleasedAtOnceSendsTheMinimum) {
    set_signal();
    ASSERT_EQ(driver_->Send(0, 0x0D), kIrOk);
    expect_trace(3);
    set_signal();
    ASSERT_EQ(driver_->Send(0xFFFF, 0x0D), kIrOk);
    expect_trace(1);
    expect_restored();
}

TEST_P(TransmitTest, HoldGoesOnWhileTheKeyIsDown) {
    set_signal();
    if (pass_ns(false) == 0) {
        // No repeated frame: the held key only keeps the loop polling, and its release ends it.
        host::hw::InputState::hold_virtual(0x0D, 100'000'000 + pass_ns(true) + 10'000'000);
        ASSERT_EQ(driver_->Send(0xFFFF, 0x0D), kIrOk);
        expect_trace(1, true);
        expect_restored();
        return;
    }
    // Down until the middle of the fourth pass (Send first sleeps 100 ms).
    host::hw::InputState::hold_virtual(0x0D, 100'000'000 + pass_ns(true) + 2 * pass_ns(false) + pass_ns(false) / 2);
    ASSERT_EQ(driver_->Send(0xFFFF, 0x0D), kIrOk);
    expect_trace(4);
    expect_restored();
}

std::vector<Case> all_cases() {
    const Family families[] = {sa1110(),          pxa("pxa250"), pxa("pxa255"), pxa("pxa26x"), pxa270(),
                               s3c("s3c2410", 1750, {{26, 25714.29}, {28, 28000.0}, {25, 24571.43}, {18, 17714.29}}),
                               s3c("s3c2440", 1000, {{26, 26000.0}, {28, 28000.0}, {25, 25000.0}, {18, 18000.0}}), omap1510(), omap850()};
    std::vector<Case> cases;
    for (const auto& family : families)
        for (const auto& signal : kSignals) cases.push_back({family, &signal});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Profiles, TransmitTest, ::testing::ValuesIn(all_cases()), [](const auto& row) {
    return row.param.family.profile + "_" + row.param.signal->name;
});

}  // namespace

}  // namespace irdriver_tests
