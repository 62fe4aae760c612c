// The pass structure and the priorities of the shared pass loop, watched from its
// emit callback: counted passes at the raised priority, hold mode raised except for
// each pass's last entry, and the key tested only once the minimum is reached.

#include <gtest/gtest.h>

#include <vector>

#include "DriverTesting.h"
#include "irdriver/PassLoop.h"
#include "ce/Input.h"
#include "ce/Thread.h"
#include "host/hw/InputState.h"

namespace irdriver_tests {

namespace {

constexpr int kKey = 0x0D;
constexpr std::int32_t kSignal[] = {10, -11, 12, -13, 14, -15};  // lead-in 10, -11; frame from index 2

struct Emitted {
    std::int32_t entry;
    int priority;
};

class PassLoopTest : public DriverTest {
protected:
    std::vector<Emitted> run(std::uint16_t repeatCount, int holdKey, int keyDownForEntries = 0) {
        std::vector<Emitted> emitted;
        std::uint16_t next = 0;
        int remaining = keyDownForEntries;
        if (remaining > 0) ce::keybd_event(kKey, 0, 0, 0);
        PassLoop loop(ce::GetCurrentThread(), ce::CeGetThreadPriority(ce::GetCurrentThread()), {1, 0});
        loop.Run(kSignal, 6, next, 2, repeatCount, holdKey, [&](std::int32_t entry) {
            emitted.push_back({entry, ce::CeGetThreadPriority(ce::GetCurrentThread())});
            if (remaining > 0 && --remaining == 0) ce::keybd_event(kKey, 0, ce::KEYEVENTF_KEYUP, 0);
        });
        EXPECT_EQ(next, 2);
        return emitted;
    }

    static std::size_t passes(const std::vector<Emitted>& emitted) { return (emitted.size() - 2) / 4; }
};

TEST_F(PassLoopTest, CountedModeRunsItsPassesRaisedAndRestoresAfterwards) {
    for (auto [count, expected] : {std::pair{std::uint16_t{0}, 3u}, {1, 1u}, {3, 3u}, {0xFFFF, 1u}, {7, 7u}}) {
        const auto emitted = run(count, 0);
        ASSERT_EQ(emitted.size(), 6 + 4 * (expected - 1)) << count;
        EXPECT_EQ(emitted[0].entry, 10);
        EXPECT_EQ(emitted[6 % emitted.size()].entry, emitted.size() > 6 ? 12 : 10);
        for (const auto& e : emitted) EXPECT_EQ(e.priority, 0);
        EXPECT_EQ(ce::CeGetThreadPriority(ce::GetCurrentThread()), ce::THREAD_PRIORITY_NORMAL_256);
    }
}

TEST_F(PassLoopTest, CountedWithAHoldKeyIgnoresTheKey) {
    EXPECT_EQ(passes(run(5, kKey, 1000)), 5u);
}

TEST_F(PassLoopTest, HoldModeLeavesEachPassLastEntryAtTheOwnPriority) {
    const auto emitted = run(0, kKey);  // released at once: the minimum of three
    ASSERT_EQ(passes(emitted), 3u);
    for (std::size_t i = 0; i < emitted.size(); ++i) {
        const bool last_of_pass = emitted[i].entry == -15;
        EXPECT_EQ(emitted[i].priority, last_of_pass ? ce::THREAD_PRIORITY_NORMAL_256 : 1) << i;
    }
    EXPECT_EQ(passes(run(0xFFFF, kKey)), 1u);
}

TEST_F(PassLoopTest, HoldModeGoesOnWhileTheKeyIsDown) {
    // Released during the fifth pass: the key is tested before the sixth.
    EXPECT_EQ(passes(run(0xFFFF, kKey, 6 + 4 * 3 + 2)), 5u);
    EXPECT_EQ(passes(run(0, kKey, 6 + 4 * 3 + 2)), 5u);
    // Released during the second: the minimum of three still holds.
    EXPECT_EQ(passes(run(0, kKey, 7)), 3u);
}

}  // namespace

}  // namespace irdriver_tests
