// Button presses played into the simulated receiver and captured with Learn: what the
// capture keeps of a held remote (lead-in and one frame), how close it comes to what
// was played, the limits that make it fail, and that every register, priority and
// quantum it touched is back afterwards, also when it fails.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "DriverTesting.h"
#include "NecRemote.h"
#include "ce/Files.h"
#include "ce/Thread.h"
#include "irdriver/IrDriverInstance.h"
#include "host/Device.h"
#include "host/hw/ReceiverQueue.h"
#include "sim/RegisterBlock.h"
#include "irdriver/learn/RepeatFrameSearch.h"

namespace irdriver_tests {

namespace {

using testing_support::kNecRepeat;
using testing_support::nec_intro;

sim::InfraredPress press(std::vector<std::int32_t> intro, std::vector<std::int32_t> repeat, std::uint32_t hz,
                         std::int64_t hold_ms) {
    sim::InfraredPress p;
    p.intro = std::move(intro);
    p.repeat = std::move(repeat);
    p.carrier_hz = hz;
    p.after_ns = 300'000'000;
    p.hold_ns = hold_ms * 1'000'000;
    return p;
}

struct Learned {
    int code = -1;
    std::vector<std::int32_t> durations;
    std::uint16_t repeatStart = 0, carrier = 0;
};

// Physical registers a capture changes and must put back, beyond the journaled ones.
const std::map<std::string, std::vector<std::uint32_t>> kRestored{
    {"sa1110", {0x90060000}},
    {"pxa270", {0x40E00010, 0x40E0005C, 0x40D00004}},
    {"pxa26x", {0x40E00010, 0x40E0005C, 0x40D00004}},
    {"s3c2440", {0x51000008, 0x51000004, 0x4A000008, 0x56000070}},
    {"omap1510", {0xFFFEC700, 0xFFFEC704, 0xFFFB980C, 0xFFFB9820, 0xFFFB9840, 0xFFFB9804}},
    {"omap850", {0xFFFEC700, 0xFFFEC704, 0xFFFBC808, 0xFFFBC810, 0xFFFE107C}},
};

class LearnTest : public DriverTest {
protected:
    Learned learn(const std::string& profile, const std::optional<sim::InfraredPress>& played) {
        use_profile(profile);
        if (played) {
            EXPECT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(*played));
        }
        const auto registers = kRestored.count(profile) ? kRestored.at(profile) : std::vector<std::uint32_t>{};
        std::vector<std::uint32_t> before;
        for (std::uint32_t address : registers) before.push_back(machine().soc().read_physical(address, 32));
        Learned learned;
        CIrDrvr* driver = GetIrDriver();
        if (driver == nullptr) return learned;
        driver->SetPortName(infrared_port(profile).c_str());
        // A signal set before: a failed learn must not hand it out as learned.
        const std::int32_t earlier[] = {1000, -1000};
        EXPECT_EQ(driver->SetSignal(earlier, 2, 0, 26), 0);
        learned.code = driver->Learn();
        std::unique_ptr<std::int32_t[]> durations;
        std::uint16_t count = 0;
        driver->GetLearnedSignal(durations, count, learned.repeatStart, learned.carrier);
        learned.durations.assign(durations.get(), durations.get() + count);
        for (std::size_t i = 0; i < registers.size(); ++i)
            EXPECT_EQ(machine().soc().read_physical(registers[i], 32), before[i]) << std::hex << registers[i];
        EXPECT_TRUE(machine().soc().journal().unrestored().empty());
        EXPECT_FALSE(driver->portOpen());
        return learned;
    }
};

class LearnEveryProfile : public LearnTest, public ::testing::WithParamInterface<std::string> {};

// Within two carrier periods and a little: the capture measures a mark from its first
// carrier edge to its last, and the first mark loses the cycles spent on the carrier.
constexpr int kBoundUs = 60;

TEST_P(LearnEveryProfile, HeldRemoteLearnsAsLeadInAndOneRepeatFrame) {
    const Learned learned = learn(GetParam(), press(nec_intro(), kNecRepeat, 38'000, 600));
    ASSERT_EQ(learned.code, 0);
    EXPECT_EQ(learned.carrier, 26);
    ASSERT_EQ(learned.durations.size(), 72u);
    EXPECT_EQ(learned.repeatStart, 68);
    std::vector<std::int32_t> played = nec_intro();
    played.insert(played.end(), kNecRepeat.begin(), kNecRepeat.end());
    for (std::size_t k = 0; k < played.size(); ++k) {
        EXPECT_EQ(learned.durations[k] > 0, played[k] > 0) << k;
        EXPECT_NEAR(learned.durations[k], played[k], kBoundUs) << k;
    }
}

TEST_P(LearnEveryProfile, TooSlowACarrierFailsAndPutsEverythingBack) {
    // 8 kHz: 125 µs periods. The OMAP1510 does not check while capturing, but refuses
    // the carrier afterwards.
    const Learned learned = learn(GetParam(), press({}, {3000, -3000, 3000, -30000}, 8'000, 0));
    EXPECT_EQ(learned.code, GetParam() == "omap1510" ? 6 : 5);
    EXPECT_TRUE(learned.durations.empty());
}

INSTANTIATE_TEST_SUITE_P(Profiles, LearnEveryProfile,
                         ::testing::Values("sa1110", "pxa250", "pxa255", "pxa26x", "pxa270", "s3c2410", "s3c2440",
                                           "omap1510", "omap850"));

TEST_F(LearnTest, SingleFrameKeepsEverythingAndEndsOnItsMark) {
    const Learned learned = learn("pxa270", press(nec_intro(), {}, 38'000, 0));
    ASSERT_EQ(learned.code, 0);
    // Silence ends the recording after the stop bit: the closing space is not kept.
    ASSERT_EQ(learned.durations.size(), 67u);
    EXPECT_EQ(learned.repeatStart, 67);
    EXPECT_NEAR(learned.durations.back(), 560, kBoundUs);
}

TEST_F(LearnTest, NoLightFor20SecondsTimesOutAndPutsEverythingBack) {
    EXPECT_EQ(learn("pxa270", std::nullopt).code, 17);
    EXPECT_EQ(learn("omap1510", std::nullopt).code, 17);
    // Light that comes after the deadline is not waited for.
    auto late = press(nec_intro(), kNecRepeat, 38'000, 600);
    late.after_ns = 20'500'000'000;
    EXPECT_EQ(learn("omap850", late).code, 17);
    late.after_ns = 19'500'000'000;
    EXPECT_EQ(learn("omap850", late).code, 0);
}

TEST_F(LearnTest, CarrierOf100UsIsTheSlowestAccepted) {
    const Learned slowest = learn("pxa270", press({}, {4000, -4000, 4000, -30000}, 10'000, 0));
    EXPECT_EQ(slowest.code, 0);
    EXPECT_EQ(slowest.carrier, 100);
    EXPECT_EQ(learn("pxa270", press({}, {4000, -4000, 4000, -30000}, 9'901, 0)).code, 5);
}

TEST_F(LearnTest, MarkOverEightTenthsOfASecondFails) {
    const auto long_mark = press({}, {850'000, -30000, 560}, 38'000, 0);
    EXPECT_EQ(learn("pxa270", long_mark).code, 6);
    EXPECT_EQ(learn("s3c2440", long_mark).code, 6);
    EXPECT_EQ(learn("omap1510", long_mark).code, 6);
    // The OMAP850 ends its recording at such a mark; with nothing before it, that fails too.
    EXPECT_EQ(learn("omap850", long_mark).code, 6);
}

TEST_F(LearnTest, Omap850WithEveryTimerBusyBorrowsTimer3AndPutsItBack) {
    use_profile("omap850");
    constexpr std::uint32_t kTimers = 0xFFFEC000, kTimer1Cntl = 0x500, kTimer3Cntl = 0x700, kTimer3Load = 0x704;
    constexpr std::uint32_t kRunningAutoReload = 0x23;
    auto& soc = machine().soc();
    for (std::uint32_t cntl : {0x600u, kTimer3Cntl}) {
        soc.write_physical(kTimers + cntl + 4, 32, 50'000);
        soc.write_physical(kTimers + cntl, 32, kRunningAutoReload);
    }
    sim::RegisterBlock* timers = soc.block_at(kTimers);
    ASSERT_NE(timers, nullptr);
    timers->journal_register(kTimer1Cntl, "timer 1 CNTL");
    timers->journal_register(kTimer3Cntl, "timer 3 CNTL");
    ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(press(nec_intro(), kNecRepeat, 38'000, 600)));

    CIrDrvr* driver = GetIrDriver();
    driver->SetPortName(u"COM3:");
    ASSERT_EQ(driver->Learn(), 0);
    EXPECT_EQ(driver->count(), 72);
    // Timer 1 runs the operating system's tick: never written.
    EXPECT_EQ(soc.journal().find("timer 1 CNTL"), nullptr);
    const auto* borrowed = soc.journal().find("timer 3 CNTL");
    ASSERT_NE(borrowed, nullptr);
    EXPECT_GT(borrowed->changes, 0u);
    EXPECT_EQ(soc.read_physical(kTimers + kTimer3Cntl, 32), kRunningAutoReload);
    EXPECT_EQ(soc.read_physical(kTimers + kTimer3Load, 32), 50'000u);
    EXPECT_TRUE(soc.journal().unrestored().empty());
}

// A learn refused after the port was opened closes it again at once, so the port is free
// for another program (and its UART out of infrared mode) before the driver is released.
TEST_F(LearnTest, LearnRefusedAfterOpeningThePortClosesIt) {
    struct Refusal {
        const char* profile;
        const char16_t* port;
        int priority;
        int code;
    };
    const Refusal refusals[] = {
        {"pxa270", u"COM3:", 0, 302},
        {"s3c2440", u"COM2:", 0, 302},
        {"omap850", u"COM3:", 0, 302},
        // COM1: opens, but its UART never takes infrared mode (below).
        {"pxa270", u"COM1:", ce::THREAD_PRIORITY_NORMAL_256, 303},
        {"s3c2440", u"COM1:", ce::THREAD_PRIORITY_NORMAL_256, 303},
    };
    for (const auto& refusal : refusals) {
        use_profile(refusal.profile);
        // A cable port whose driver has no infrared mode: SETIR changes nothing.
        auto& soc = machine().soc();
        soc.set_uart(1, soc.add(std::make_unique<sim::RegisterBlock>(soc, "cable UART", 0x10000000)));
        ASSERT_TRUE(ce::CeSetThreadPriority(ce::GetCurrentThread(), refusal.priority));
        CIrDrvr* driver = GetIrDriver();
        driver->SetPortName(refusal.port);
        EXPECT_EQ(driver->Learn(), refusal.code) << refusal.profile;
        ASSERT_TRUE(ce::CeSetThreadPriority(ce::GetCurrentThread(), ce::THREAD_PRIORITY_NORMAL_256));
        EXPECT_FALSE(driver->portOpen()) << refusal.profile;
        const ce::HANDLE other = ce::CreateFileW(refusal.port, ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
        EXPECT_NE(other, ce::INVALID_HANDLE_VALUE) << refusal.profile << ": the port is still taken";
        if (other != ce::INVALID_HANDLE_VALUE) ce::CloseHandle(other);
        EXPECT_TRUE(machine().soc().journal().unrestored().empty()) << refusal.profile;
    }
}

// The repeat-frame search on captured buffers (a zero ends a buffer).
struct SearchCase {
    const char* name;
    std::vector<std::int32_t> buffer;
    std::uint16_t count, repeatStart;
};

std::vector<std::int32_t> tail_frames_from(int second) {
    // Marks of 3000 and spaces of 7000 up to the frame, then the frame over and over to
    // the end of a full buffer; the frame's second copy starts at `second`.
    const std::vector<std::int32_t> frame{9000, -2000, 600, -600, 600, -30000};
    std::vector<std::int32_t> buffer;
    for (int k = 0; k < second - 6; ++k) buffer.push_back(k % 2 == 0 ? 3000 : -7000);
    for (int k = 0; buffer.size() < 300; ++k) buffer.push_back(frame[k % 6]);
    return buffer;
}

class RepeatFrameSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(RepeatFrameSearchTest, KeepsLeadInAndOneFrame) {
    std::vector<std::int32_t> buffer = GetParam().buffer;
    buffer.resize(300, 0);
    const auto found = RepeatFrameSearch::Find(buffer.data(), 300);
    EXPECT_EQ(found.count, GetParam().count);
    EXPECT_EQ(found.repeatStart, GetParam().repeatStart);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, RepeatFrameSearchTest,
    ::testing::Values(
        SearchCase{"SameFrameThreeTimes", {9000, -2250, 560, -96000, 9000, -2250, 560, -96000, 9000, -2250, 560, -96000}, 4, 0},
        SearchCase{"FramesDifferingByMoreThanAThird",
                   {9000, -2250, 560, -96000, 9000, -2250, 1000, -96000, 9000, -2250, 560, -96000}, 12, 12},
        SearchCase{"SingleFrameEndingOnAMark", {9000, -4500, 560, -560, 560, -1690, 560}, 7, 7},
        SearchCase{"SecondFrameAt290", tail_frames_from(290), 290, 284},
        SearchCase{"SecondFrameAt292IsNeverTaken", tail_frames_from(292), 300, 300},
        SearchCase{"Empty", {}, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace

}  // namespace irdriver_tests
