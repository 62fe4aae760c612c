// What the notification service starts, and when: the decisions, with a starter that
// only records what it was asked to start.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "StandIn.h"
#include "LocalTime.h"
#include "TempDevice.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationRunner.h"

namespace {

using namespace ce;
using namespace std::chrono;

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";
constexpr const char16_t* kOther = u"\\Program Files\\Other\\other.exe";

// On 2026-03-07, a Saturday.
SYSTEMTIME at(int hour, int minute, int second = 0) {
    return testing_support::local_time(2026, 3, 7, hour, minute, second);
}

// UTC of 2026-03-07 at the given time.
system_clock::time_point utc(int hour, int minute, int second = 0) {
    return sys_days{2026y / March / 7} + hours(hour) + minutes(minute) + seconds(second);
}

class RecordingStarter : public host::ProgramStarter {
public:
    std::optional<host::StartedProgram> start(const std::u16string& program, const std::u16string& command_line,
                                              std::string* failure) override {
        started.push_back(utf8_from_utf16(program) + " " + utf8_from_utf16(command_line));
        if (refuse) {
            *failure = "the program file is missing";
            return std::nullopt;
        }
        return host::StartedProgram{4242, nullptr};
    }
    std::vector<std::string> started;
    bool refuse = false;
};

class NotificationRunner : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
        store_ = std::make_unique<host::NotificationStore>(host::Device::current().database());
        runner_ = std::make_unique<host::NotificationRunner>(*store_, starter_, log_);
    }
    static void set_clock(const SYSTEMTIME& local) { ASSERT_TRUE(host::set_local_time(local)); }
    std::vector<std::string> log_lines() const { return testing_support::log_lines(device_root(), "notify"); }
    std::optional<system_clock::time_point> run_due() { return runner_->start_due(host::device_utc_now()); }

    RecordingStarter starter_;
    std::unique_ptr<host::NotificationStore> store_;
    host::DeviceLog log_{"notify"};
    std::unique_ptr<host::NotificationRunner> runner_;
};

TEST_F(NotificationRunner, ARegistrationStartsOnceWhenTheClockReachesItsSecond) {
    set_clock(at(10, 29, 59));
    const SYSTEMTIME half_past = at(10, 30), later = at(10, 31);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &half_past));
    ASSERT_TRUE(CeRunAppAtTime(kOther, &later));

    EXPECT_EQ(run_due(), utc(9, 30));  // Berlin is an hour ahead in March
    EXPECT_TRUE(starter_.started.empty());

    set_clock(at(10, 30));
    EXPECT_EQ(run_due(), utc(9, 31));
    EXPECT_EQ(run_due(), utc(9, 31));
    EXPECT_EQ(starter_.started, std::vector<std::string>{"\\Windows\\kivowake.exe AppRunAtTime"});
    EXPECT_EQ(store_->timed_rows().size(), 1u);

    // Long past its time, as after the service was down: started once, then nothing is left.
    set_clock(at(18, 0));
    EXPECT_EQ(run_due(), std::nullopt);
    EXPECT_EQ(run_due(), std::nullopt);
    EXPECT_EQ(starter_.started.size(), 2u);
    EXPECT_EQ(starter_.started.back(), "\\Program Files\\Other\\other.exe AppRunAtTime");
    EXPECT_EQ(log_lines(), (std::vector<std::string>{
                               "started \\Windows\\kivowake.exe AppRunAtTime (registered for 2026-03-07 10:30:00), "
                               "process 4242",
                               "started \\Program Files\\Other\\other.exe AppRunAtTime (registered for 2026-03-07 "
                               "10:31:00), process 4242"}));
}

TEST_F(NotificationRunner, ARegistrationMoreThanADayLateRegistersTheNextInsteadOfRinging) {
    // The computer was off: one registration is a day late and a second more, one a minute
    // less (a margin the ticking clock cannot use up on a loaded machine).
    const SYSTEMTIME seven = at(7, 0), a_minute_later = at(7, 1);
    set_clock(at(6, 0));
    ASSERT_TRUE(CeRunAppAtTime(kWake, &seven));
    ASSERT_TRUE(CeRunAppAtTime(kOther, &a_minute_later));
    set_clock(testing_support::local_time(2026, 3, 8, 7, 0, 1));
    EXPECT_EQ(run_due(), std::nullopt);
    EXPECT_EQ(starter_.started, (std::vector<std::string>{"\\Windows\\kivowake.exe AppRunAfterTimeChange",
                                                          "\\Program Files\\Other\\other.exe AppRunAtTime"}));
    EXPECT_EQ(log_lines().front(), "started \\Windows\\kivowake.exe AppRunAfterTimeChange (registered for 2026-03-07 "
                                   "07:00:00, more than 24 hours ago: too late to ring), process 4242");
}

TEST_F(NotificationRunner, ALocalTimeFallsDueAtTheInstantOfTheCurrentZone) {
    set_clock(at(8, 0));
    const SYSTEMTIME half_past = at(10, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &half_past));
    EXPECT_EQ(run_due(), utc(9, 30));
    ASSERT_TRUE(host::set_time_zone("America/New_York"));
    EXPECT_EQ(run_due(), utc(15, 30));
    ASSERT_TRUE(host::set_time_zone("UTC"));
    EXPECT_EQ(run_due(), utc(10, 30));
}

TEST_F(NotificationRunner, AnEventStartsEveryProgramRegisteredForItAndTheyStayRegistered) {
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(kOther, NOTIFICATION_EVENT_TZ_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(kOther, NOTIFICATION_EVENT_TIME_CHANGE));
    runner_->raise(NOTIFICATION_EVENT_TIME_CHANGE);
    runner_->raise(NOTIFICATION_EVENT_TZ_CHANGE);
    EXPECT_EQ(starter_.started, (std::vector<std::string>{"\\Windows\\kivowake.exe AppRunAfterTimeChange",
                                                          "\\Program Files\\Other\\other.exe AppRunAfterTimeChange",
                                                          "\\Program Files\\Other\\other.exe AppRunAfterTzChange"}));
    EXPECT_EQ(store_->registered_for(NOTIFICATION_EVENT_TIME_CHANGE).size(), 2u);
}

TEST_F(NotificationRunner, BadRegistrationsAreLoggedOnceAndStartNothingTwice) {
    set_clock(at(10, 0));
    {
        auto& database = host::Device::current().database();
        ASSERT_TRUE(database.exec("INSERT INTO notifications (folded, application, event, time) VALUES "
                                  "('\\bad.exe', '\\Bad.exe', 0, '2026-02-30 10:00:00'), "
                                  "('\\worse.exe', '\\Worse.exe', 0, 'soon')"));
    }
    const SYSTEMTIME due = at(9, 0);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &due));
    starter_.refuse = true;
    EXPECT_EQ(run_due(), std::nullopt);
    EXPECT_EQ(run_due(), std::nullopt);
    EXPECT_EQ(starter_.started, std::vector<std::string>{"\\Windows\\kivowake.exe AppRunAtTime"});
    EXPECT_EQ(log_lines(),
              (std::vector<std::string>{
                  "not starting \\Bad.exe: its registered time '2026-02-30 10:00:00' cannot be",
                  "not starting \\Worse.exe: its registered time 'soon' cannot be",
                  "could not start \\Windows\\kivowake.exe AppRunAtTime (registered for 2026-03-07 09:00:00): "
                  "the program file is missing"}));
}

// A start whose finish failed (the database was busy) leaves its mark; the program
// registering itself anew must still be started at its new time, not ignored for good.
TEST_F(NotificationRunner, AMarkLeftByAFailedFinishDoesNotBlockTheNextRegistration) {
    set_clock(at(9, 0));
    const SYSTEMTIME first = at(9, 0), again = at(9, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &first));
    const auto rows = store_->timed_rows();
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_TRUE(store_->mark_starting(rows[0]));  // started, never finished

    ASSERT_TRUE(CeRunAppAtTime(kWake, &again));
    set_clock(at(9, 30));
    run_due();
    EXPECT_EQ(starter_.started, std::vector<std::string>{"\\Windows\\kivowake.exe AppRunAtTime"});
    EXPECT_TRUE(store_->timed_rows().empty());
}

// A program that ends before finishing (killed, crashed) leaves its registration due
// again a little later, later still at each failure in a row; one that ends with 0 uses
// it up. Real programs: the stand-in, told to end one way or the other.
TEST_F(NotificationRunner, ARegistrationIsUsedUpOnlyWhenItsProgramEndsWithZero) {
    testing_support::install_stand_in(device_root(), "\\Windows\\kivowake.exe");
    host::ProgramStarter real;
    host::NotificationRunner runner(*store_, real, log_);
    set_clock(at(9, 0));
    const SYSTEMTIME due = at(9, 0);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &due));
    std::vector<seconds> waits;  // from each start to the registration left for the next
    for (const char* ending : {"exit:9", "exit:137", "exit:0"}) {
        SCOPED_TRACE(ending);
        setenv("STANDIN_MODE", ending, 1);
        const auto rows = store_->timed_rows();
        ASSERT_EQ(rows.size(), 1u);
        const SYSTEMTIME start = *host::time_from_text(rows[0].time);
        set_clock(start);
        runner.start_due(host::device_utc_now());
        ASSERT_FALSE(runner.program_fds().empty()) << "followed until it ends";
        const auto until = steady_clock::now() + seconds(30);
        while (!runner.program_fds().empty() && steady_clock::now() < until) {
            std::this_thread::sleep_for(milliseconds(5));
            runner.settle_ended(host::device_utc_now());
        }
        ASSERT_TRUE(runner.program_fds().empty()) << "the stand-in ended";
        if (std::string(ending) == "exit:0") continue;
        const auto next = store_->timed_rows();
        ASSERT_EQ(next.size(), 1u) << "still registered";
        waits.push_back(duration_cast<seconds>(*host::device_utc_of(*host::time_from_text(next[0].time)) -
                                               *host::device_utc_of(start)));
    }
    unsetenv("STANDIN_MODE");
    EXPECT_TRUE(store_->timed_rows().empty()) << "used up";
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_GE(waits[0], host::NotificationRunner::kFirstRetry);
    EXPECT_GE(waits[1], 2 * host::NotificationRunner::kFirstRetry) << "longer after a second failure in a row";
}

}  // namespace
