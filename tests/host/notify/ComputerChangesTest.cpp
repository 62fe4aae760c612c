// A handheld that follows the computer, its real notification service, and a step of
// the computer's clock or a change of its zone: the handheld's own time-change and
// time-zone-change events, with the rules of a clock or zone set by hand. The computer's
// zone is a link of the test's own (KIVO_HOST_LOCALTIME), replaced as timedatectl
// replaces /etc/localtime; its clock steps are told to the real service by the test, in
// place of the kernel (kivo_told_steps_service_agent), so nothing here moves the
// machine's clock.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "StandIn.h"
#include "TempDevice.h"
#include "ToldClockSteps.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ServiceDatagram.h"
#include "host/notify/ServiceLink.h"

namespace {

using namespace std::chrono;

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";
constexpr const char16_t* kAlert = u"\\Program Files\\KIVO\\Alert.exe";
constexpr const char16_t* kOther = u"\\Windows\\other.exe";
constexpr const char16_t* kSync = u"\\Windows\\sync.exe";

class ComputerChanges : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        etc_ = device_root() / "etc";
        std::filesystem::create_directories(etc_);
        point_link_at("Europe/Berlin");
        setenv("KIVO_HOST_LOCALTIME", (etc_ / "localtime").c_str(), 1);
        for (const char* program : {"\\Windows\\kivowake.exe", "\\Program Files\\KIVO\\Alert.exe", "\\Windows\\other.exe",
                                "\\Windows\\sync.exe"})
            testing_support::install_stand_in(device_root(), program);
        ASSERT_TRUE(host::follow_computer("Europe/Berlin", host::ClockSource::computer));
    }
    void TearDown() override {
        std::string failure;
        EXPECT_TRUE(link().stop(&failure)) << failure;
        unsetenv("KIVO_HOST_LOCALTIME");
        if (HasFailure())
            for (const auto& line : testing_support::log_lines(device_root(), "notify")) std::printf("notify.log: %s\n", line.c_str());
        TempDevice::TearDown();
    }
    static host::ServiceLink link() { return host::ServiceLink(host::Device::current()); }
    static void start_service() {
        std::string failure;
        ASSERT_TRUE(link().start(KIVO_NOTIFY_SERVICE, &failure)) << failure;
    }
    // The real service, told of the computer's clock steps by step_clock().
    static void start_service_told_steps() {
        std::string failure;
        ASSERT_TRUE(link().start(testing_support::executable_dir() + "/kivo_told_steps_service_agent", &failure))
            << failure;
    }
    static void step_clock(milliseconds step) {
        const int fifo = open(testing_support::told_clock_steps(host::Device::current()).c_str(),
                              O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fifo, 0);
        const std::string line = std::to_string(step.count()) + "\n";
        EXPECT_EQ(write(fifo, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        close(fifo);
    }
    // As timedatectl does: a new link beside the old, renamed over it.
    void point_link_at(const std::string& zone) const {
        const auto fresh = etc_ / ".#localtime.new";
        std::filesystem::create_symlink("/usr/share/zoneinfo/" + zone, fresh);
        std::filesystem::rename(fresh, etc_ / "localtime");
    }
    // A timed registration `from_now` of the handheld's local time, written straight into
    // the database: the service hears nothing of it until something wakes it.
    static void register_quietly(const char16_t* program, seconds from_now) {
        const auto local = host::device_local_time(host::device_utc_now() + from_now);
        ASSERT_TRUE(host::NotificationStore(host::Device::current().database()).set_time(program, local));
    }
    std::vector<std::string> started(std::size_t count) const {
        std::vector<std::string> programs;
        for (const auto& line : testing_support::wait_for_stand_in_lines(device_root(), count))
            programs.push_back(line.substr(0, line.find(" show=")));
        std::sort(programs.begin(), programs.end());
        return programs;
    }
    std::vector<std::string> log_lines_with(const std::string& text) const {
        std::vector<std::string> found;
        for (const auto& line : testing_support::log_lines(device_root(), "notify"))
            if (line.find(text) != std::string::npos) found.push_back(line);
        return found;
    }

    // At a test's end, the running processes of a program that waits are ended, before
    // the service stops.
    class EndsStartedProgram {
    public:
        EndsStartedProgram(const ComputerChanges* test, std::string program)
            : test_(test), started_("started " + std::move(program) + " ") {}
        ~EndsStartedProgram() {
            for (const auto& line : test_->log_lines_with(started_))
                if (line.starts_with(started_)) kill(std::stoi(line.substr(line.rfind(' ') + 1)), SIGKILL);
        }

    private:
        const ComputerChanges* test_;
        std::string started_;
    };

    std::filesystem::path etc_;
};

TEST_F(ComputerChanges, ReplacingTheZoneLinkRaisesTheZoneEventOnceAndRingsNothingItJumpedOver) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(kOther, ce::NOTIFICATION_EVENT_TIME_CHANGE));
    start_service();
    // An hour ahead in Berlin is seven hours behind in Tokyo.
    register_quietly(kAlert, hours(1));

    point_link_at("Asia/Tokyo");
    // Something unrelated in the same folder is no change of zone.
    std::filesystem::create_symlink("/usr/share/zoneinfo/Europe/Paris", etc_ / "localtime.bak");
    EXPECT_EQ(started(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"});
    EXPECT_EQ(host::clock_settings().zone, "Asia/Tokyo");
    EXPECT_EQ(host::clock_settings().source, host::ClockSource::computer);

    // Whatever the service still had to hear of the replacement, it has heard once this
    // later event ran.
    std::string failure;
    ASSERT_TRUE(link().raise(ce::NOTIFICATION_EVENT_TIME_CHANGE, &failure)) << failure;
    const auto all = started(2);
    EXPECT_EQ(all.back(), "started program=\\Windows\\other.exe command=AppRunAfterTimeChange");
    EXPECT_EQ(std::count(all.begin(), all.end(), "started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), "started program=\\Program Files\\KIVO\\Alert.exe command=AppRunAtTime"), 0);
    EXPECT_EQ(log_lines_with("the time zone was changed past it").size(), 1u);
    EXPECT_EQ(log_lines_with("the computer's time zone is now Asia/Tokyo (was Europe/Berlin)").size(), 1u);
}

TEST_F(ComputerChanges, AZoneChangedWhileNoServiceRanIsTakenWhenOneStarts) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    point_link_at("America/New_York");
    start_service();
    EXPECT_EQ(started(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"});
    EXPECT_EQ(host::clock_settings().zone, "America/New_York");
}

TEST_F(ComputerChanges, AClockStepRaisesTheTimeEventAndRingsOnlyWhatItLandedOnWithinFifteenSeconds) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(kSync, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    // The program of the event below keeps running until the test ends: its end would
    // wake the service, which would see the registrations below due before the step.
    setenv("STANDIN_WAITS", "sync.exe", 1);
    start_service_told_steps();
    unsetenv("STANDIN_WAITS");
    const EndsStartedProgram ends_sync(this, "\\Windows\\sync.exe");
    // Once an event raised after the start has run, the service has worked out its
    // next time and sleeps: the registrations below stay unseen until the step.
    std::string failure;
    ASSERT_TRUE(link().raise(ce::NOTIFICATION_EVENT_TZ_CHANGE, &failure)) << failure;
    ASSERT_EQ(started(1).size(), 1u);
    // The computer's clock set two minutes ahead: the minute before now was jumped over,
    // the seconds just behind now were landed on.
    register_quietly(kOther, -seconds(60));
    register_quietly(kAlert, -seconds(5));
    step_clock(minutes(2));

    EXPECT_EQ(started(3), (std::vector<std::string>{
                              "started program=\\Program Files\\KIVO\\Alert.exe command=AppRunAtTime",
                              "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange",
                              "started program=\\Windows\\sync.exe command=AppRunAfterTzChange"}));
    const auto dropped = log_lines_with("the clock was set past it");
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_TRUE(dropped[0].starts_with("not starting \\Windows\\other.exe AppRunAtTime")) << dropped[0];
    EXPECT_EQ(log_lines_with("the computer's clock was set +120.000 s").size(), 1u);
    // The landed-on registration is used up once its program has ended with 0, which a
    // loaded machine may take a while to see.
    host::NotificationStore store(host::Device::current().database());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!store.timed_rows().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(store.timed_rows().empty());
}

// The service woken again and again by wake-ups of its own (a busy watched folder) while
// the clock is set: the step is neither used up by a wake-up nor raised more than once.
TEST_F(ComputerChanges, AStepWhileTheServiceIsBusyRaisesTheTimeEventExactlyOnce) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(kSync, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    start_service_told_steps();
    std::atomic<bool> busy = true;
    std::atomic<int> wake_ups = 0;
    std::thread waking([&] {
        for (; busy; ++wake_ups) link().send(host::ServiceDatagram::changed());
    });
    while (wake_ups < 100) std::this_thread::yield();
    step_clock(-minutes(3));
    const auto until = steady_clock::now() + seconds(30);
    while (log_lines_with("the computer's clock was set").empty() && steady_clock::now() < until)
        std::this_thread::sleep_for(milliseconds(20));
    const int before_step_seen = wake_ups;
    while (wake_ups < before_step_seen + 100) std::this_thread::yield();
    busy = false;
    waking.join();
    // An event raised after it marks the end of whatever the step raised.
    std::string failure;
    ASSERT_TRUE(link().raise(ce::NOTIFICATION_EVENT_TZ_CHANGE, &failure)) << failure;
    EXPECT_EQ(started(2), (std::vector<std::string>{
                              "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange",
                              "started program=\\Windows\\sync.exe command=AppRunAfterTzChange"}));
    EXPECT_EQ(log_lines_with("the computer's clock was set -180.000 s").size(), 1u);
}

TEST_F(ComputerChanges, AHandheldWithItsOwnClockIsNotMovedByTheComputers) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    ASSERT_TRUE(host::set_time_zone("UTC"));
    start_service_told_steps();
    step_clock(minutes(2));
    point_link_at("Asia/Tokyo");
    std::string failure;
    ASSERT_TRUE(link().raise(ce::NOTIFICATION_EVENT_TIME_CHANGE, &failure)) << failure;
    EXPECT_EQ(started(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange"});
    EXPECT_EQ(host::clock_settings().zone, "UTC");
    EXPECT_TRUE(log_lines_with("the computer's").empty());
}

}  // namespace
