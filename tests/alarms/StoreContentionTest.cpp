// Two programs of the handheld contending for the alarm store through its named mutex.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "ChildProcess.h"
#include "InstalledHandheld.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Text.h"

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

// Whoever holds the store sees the wake registration and the pending path of one and the
// same reschedule: the other program writes both before it lets the store go.
TEST_F(StoreContention, TheRegistrationAndThePendingPathAlwaysComeFromOneReschedule) {
    AlarmSpec half_past_ten;
    half_past_ten.time = {10, 30};
    AlarmSpec eleven;
    eleven.time = {11, 0};
    const std::u16string first = write_alarm(1, half_past_ten);
    const std::u16string second = write_alarm(2, eleven);
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    auto other = other_program();
    ASSERT_TRUE(other->send_line("reschedule 150"));
    int observed = 0;
    std::uint8_t active = 1;
    for (bool done = false; !done; done = other->read_line(0).has_value()) {
        AlarmStoreLock lock;
        if (!lock.Lock()) continue;
        const auto time = registered_time().value_or("none");
        const auto pending = AlertKey::Pending().value_or(u"?");
        if (pending == first)
            EXPECT_EQ(time, "2026-03-07 10:30:00");
        else if (pending == second)
            EXPECT_EQ(time, "2026-03-07 11:00:00");
        else
            ADD_FAILURE() << "pending path '" << ce::utf8_from_utf16(pending) << "' while " << time << " is registered";
        // Changes which alarm comes next, as the user toggling it would.
        active ^= 1;
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(first), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetActive(active), CAlarmDB::kOk);
        ++observed;
        if (HasFailure()) break;
    }
    EXPECT_GT(observed, 0);
}

// A program killed inside the store leaves the mutex to the one waiting for it; that one's
// first Open must work although the dead program had the same file open a moment ago.
TEST_F(StoreContention, AStoreAbandonedByAKilledProgramWorksAtOnce) {
    AlarmSpec spec;
    spec.time = {11, 0};
    const std::u16string alarm = write_alarm(1, spec);
    for (int round = 0; round < 40; ++round) {
        auto other = other_program();
        ASSERT_EQ(ask(*other, "hold \\Program Files\\KIVO\\Alarms\\1.kivo"), "held");
        auto opened = std::async(std::launch::async, [&alarm] {
            AlarmStoreLock lock;
            if (!lock.Lock()) return -1;
            CAlarmDB file;
            return file.Open(alarm);
        });
        // Long enough for the waiter to be blocked on the mutex when the holder dies.
        std::this_thread::sleep_for(milliseconds(5));
        other->kill();
        EXPECT_EQ(opened.get(), CAlarmDB::kOk) << "round " << round;
        other->wait();
    }
}

}  // namespace
}  // namespace alarm_tests
