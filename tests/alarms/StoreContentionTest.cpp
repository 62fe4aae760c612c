// Two programs of the handheld contending for the alarm store through its named mutex.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "ChildProcess.h"
#include "InstalledHandheld.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmScheduler.h"

namespace alarm_tests {
namespace {

using namespace std::chrono;
using testing_support::ChildProcess;

class StoreContention : public InstalledHandheld {
protected:
    void SetUp() override {
        InstalledHandheld::SetUp();
        set_clock("Europe/Berlin", host::system_time(2026, 3, 7, 10, 0, 5));
    }
    static std::unique_ptr<ChildProcess> other_program() {
        auto child = std::make_unique<ChildProcess>(testing_support::executable_dir() + "/kivo_alarm_store_agent",
                                                    std::vector<std::string>{});
        EXPECT_TRUE(child->started());
        return child;
    }
    static std::string ask(ChildProcess& child, const std::string& line) {
        if (!child.send_line(line)) return "<not sent>";
        return child.read_line(30000).value_or("<no answer>");
    }
};

TEST_F(StoreContention, RescheduleGivesUpAfterTwoSecondsAndChangesNothing) {
    AlarmSpec eleven;
    eleven.time = {11, 0};
    const std::u16string first = write_alarm(1, eleven);
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    const auto before = registered_time();
    ASSERT_EQ(before, "2026-03-07 11:00:00");

    auto other = other_program();
    ASSERT_EQ(ask(*other, "lock"), "locked");
    const auto held_since = steady_clock::now();
    AlarmSpec half_past_ten;
    half_past_ten.time = {10, 30};
    const std::u16string earlier = write_alarm(2, half_past_ten);

    const auto start = steady_clock::now();
    EXPECT_EQ(CAlarmScheduler::Reschedule(), 0);
    const auto waited = steady_clock::now() - start;
    EXPECT_GE(waited, milliseconds(1500));
    EXPECT_LT(waited, seconds(20));
    EXPECT_EQ(registered_time(), before);
    EXPECT_EQ(registrations().size(), 3u);
    EXPECT_EQ(AlertKey::Pending(), first);

    // Held for 3 seconds in all, then released: the next reschedule finds the new alarm.
    std::this_thread::sleep_until(held_since + seconds(3));
    ASSERT_EQ(ask(*other, "unlock"), "ok");
    EXPECT_NE(CAlarmScheduler::Reschedule(), 0);
    EXPECT_EQ(registered_time(), "2026-03-07 10:30:00");
    EXPECT_EQ(AlertKey::Pending(), earlier);
}

TEST_F(StoreContention, TheOtherProgramsRescheduleWaitsForThisOnesLock) {
    AlarmSpec eleven;
    eleven.time = {11, 0};
    write_alarm(1, eleven);
    auto other = other_program();
    AlarmStoreLock lock;
    ASSERT_TRUE(lock.Lock());
    const std::string refused = ask(*other, "reschedule");
    EXPECT_EQ(refused.substr(0, 2), "0 ");
    EXPECT_FALSE(registered_time().has_value());
    lock.Unlock();
    EXPECT_EQ(ask(*other, "reschedule").substr(0, 2), "1 ");
    EXPECT_EQ(registered_time(), "2026-03-07 11:00:00");
}

TEST_F(StoreContention, ALockIsExclusiveAlsoForTheProcessThatCreatedTheMutex) {
    // The first lock creates the mutex; it must own it, or the other program walks in.
    AlarmStoreLock lock;
    ASSERT_TRUE(lock.Lock());
    auto other = other_program();
    const std::string answer = ask(*other, "lock");
    EXPECT_EQ(answer.substr(0, 7), "failed ");
    const long elapsed = std::stol(answer.substr(7));
    EXPECT_GE(elapsed, 1500);
    lock.Unlock();
    EXPECT_EQ(ask(*other, "lock"), "locked");
}

}  // namespace
}  // namespace alarm_tests
