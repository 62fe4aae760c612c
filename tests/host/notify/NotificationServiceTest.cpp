// The notification service as a real process of a temporary handheld, starting the
// stand-in program installed in its image.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "StandIn.h"
#include "LocalTime.h"
#include "TempDevice.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/NotificationService.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ServiceDatagram.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceLink.h"

namespace {

using namespace ce;

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

// On 2026-03-07, a Saturday.
SYSTEMTIME at(int hour, int minute, int second = 0) {
    return testing_support::local_time(2026, 3, 7, hour, minute, second);
}

// Waits up to 30 s for `condition`; its last answer.
bool eventually(const std::function<bool()>& condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class NotificationService : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        testing_support::install_stand_in(device_root(), "\\Windows\\kivowake.exe");
        ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
    }
    void TearDown() override {
        std::string failure;
        EXPECT_TRUE(link().stop(&failure)) << failure;
        TempDevice::TearDown();
    }
    static host::ServiceLink link() { return host::ServiceLink(host::Device::current()); }
    static void start_service() {
        std::string failure;
        ASSERT_TRUE(link().start(KIVO_NOTIFY_SERVICE, &failure)) << failure;
    }
    void stop_service() {
        std::string failure;
        ASSERT_TRUE(link().stop(&failure)) << failure;
        ASSERT_FALSE(link().running());
    }
    // The lines of the service's log that say what it started or could not start.
    std::vector<std::string> starts() const {
        std::vector<std::string> lines;
        for (const auto& line : testing_support::log_lines(device_root(), "notify"))
            if (line.starts_with("started ") || line.starts_with("could not start ")) lines.push_back(line);
        return lines;
    }
    // Waits for the stand-ins to have written `count` lines; what they were started as.
    std::vector<std::string> started_programs(std::size_t count) const {
        std::vector<std::string> programs;
        for (const auto& line : testing_support::wait_for_stand_in_lines(device_root(), count))
            programs.push_back(line.substr(0, line.find(" show=")));
        std::sort(programs.begin(), programs.end());
        return programs;
    }
    void send_raw(const std::string& bytes) const {
        sockaddr_un address;
        socklen_t length = 0;
        ASSERT_TRUE(host::ServiceFiles(host::Device::current()).socket_address(&address, &length));
        const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        ASSERT_EQ(sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address), length),
                  static_cast<ssize_t>(bytes.size()));
        close(fd);
    }
};

// Seconds until the service's alarm timer fires, as the kernel holds it: its one armed
// timer that is not the one for clock steps, armed at the end of time.
std::optional<double> armed_in(int service) {
    std::optional<double> found;
    const auto folder = "/proc/" + std::to_string(service) + "/fdinfo";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            long long whole = 0, nanoseconds = 0;
            if (std::sscanf(line.c_str(), "it_value: (%lld, %lld)", &whole, &nanoseconds) != 2) continue;
            const double in_seconds = static_cast<double>(whole) + static_cast<double>(nanoseconds) / 1e9;
            constexpr double kCentury = 100.0 * 366 * 24 * 3600;
            if (in_seconds > 0 && in_seconds < kCentury) found = in_seconds;
        }
    }
    return found;
}

// A tzdata upgrade replacing the zone's file (by a rename, as dpkg does) under a running
// service: its timer moves to where the new rules put the alarm, and a damaged file put
// there afterwards leaves the rules read before in force.
TEST_F(NotificationService, AReplacedZoneFileMovesTheArmedTimerAndADamagedOneIsNotTaken) {
    const auto zones = device_root() / "zoneinfo";
    std::filesystem::create_directories(zones / "Europe");
    std::filesystem::copy_file("/usr/share/zoneinfo/Europe/Berlin", zones / "Europe/Berlin");
    setenv("TZDIR", zones.c_str(), 1);
    const struct Unset {
        ~Unset() { unsetenv("TZDIR"); }
    } unset;
    const auto replace_berlin = [&](const std::string& bytes) {
        std::ofstream(zones / "Europe/.Berlin.new", std::ios::binary) << bytes;
        std::filesystem::rename(zones / "Europe/.Berlin.new", zones / "Europe/Berlin");
    };
    ASSERT_TRUE(host::set_local_time(at(10, 0)));
    const SYSTEMTIME noon = at(12, 0);
    ASSERT_TRUE(CeRunAppAtTime(u"\\Windows\\later.exe", &noon));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TZ_CHANGE));
    start_service();
    const int service = *link().running();
    // Listening comes a moment before the first arming.
    auto before = armed_in(service);
    for (int look = 0; look < 500 && !before; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        before = armed_in(service);
    }
    ASSERT_TRUE(before.has_value());
    ASSERT_NEAR(*before, 7200, 60);

    // Berlin's file with Helsinki's rules: an hour ahead of them all year.
    std::ifstream helsinki("/usr/share/zoneinfo/Europe/Helsinki", std::ios::binary);
    replace_berlin(std::string(std::istreambuf_iterator<char>(helsinki), {}));
    const auto moved_by = [&] { return *before - armed_in(service).value_or(*before); };
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (moved_by() < 3000 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NEAR(moved_by(), 3600, 60) << "moved within 5 s, without a restart";
    EXPECT_EQ(started_programs(1),
              std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"});

    replace_berlin("TZif2 and nothing a zone file holds");
    const auto said = [&] {
        const auto log = testing_support::log_lines(device_root(), "notify");
        return std::count_if(log.begin(), log.end(), [](const std::string& line) {
            return line == "the tz database's file for Europe/Berlin was replaced by one that cannot be read; "
                           "the rules read before stay in force";
        });
    };
    const auto until_said = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (said() == 0 && std::chrono::steady_clock::now() < until_said)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(said(), 1);
    // Woken for something else, and re-armed: still the rules read before, never UTC.
    ASSERT_TRUE(link().send(host::ServiceDatagram::changed()));
    for (int look = 0; look < 25; ++look) {
        EXPECT_NEAR(moved_by(), 3600, 60);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop_service();
}

TEST_F(NotificationService, StartsARegisteredProgramWhenTheClockReachesItsSecond) {
    start_service();
    send_raw("event 2");
    send_raw(std::string("\x01\xff wake", 7));
    ASSERT_TRUE(host::set_local_time(at(10, 29, 59)));
    const SYSTEMTIME half_past = at(10, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &half_past));
    ASSERT_TRUE(CeRunAppAtTime(u"\\Windows\\missing.exe", &half_past));

    EXPECT_EQ(started_programs(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAtTime"});
    stop_service();
    const auto log = starts();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[0].starts_with("started \\Windows\\kivowake.exe AppRunAtTime (registered for 2026-03-07 10:30:00)"));
    EXPECT_EQ(log[1], "could not start \\Windows\\missing.exe AppRunAtTime (registered for 2026-03-07 10:30:00): "
                      "the program file is missing");
    const auto all = testing_support::log_lines(device_root(), "notify");
    EXPECT_NE(std::find(all.begin(), all.end(), "ignored a wake-up message it does not understand: 'event 2'"),
              all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "ignored a wake-up message it does not understand: '\\x01\\xff wake'"),
              all.end());
    EXPECT_TRUE(host::NotificationStore(host::Device::current().database()).timed_rows().empty());
}

TEST_F(NotificationService, ARegistrationDueWhileNoServiceRanStartsOnceWhenOneStarts) {
    ASSERT_TRUE(host::set_local_time(at(10, 0)));
    host::NotificationStore(host::Device::current().database()).set_time(kWake, at(10, 30));
    ASSERT_TRUE(host::set_local_time(at(11, 0)));
    {
        // Two services racing for the handheld: one of them runs, the other ends at once.
        testing_support::ChildProcess first(KIVO_NOTIFY_SERVICE, {});
        testing_support::ChildProcess second(KIVO_NOTIFY_SERVICE, {});
        EXPECT_EQ(started_programs(1),
                  std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAtTime"});
        // Stopped only once the other has given up, or it could start after the stop.
        const auto lines = testing_support::wait_for_log_lines(device_root(), "notify", 3);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "another notification service runs for this handheld; this one ends"),
                  lines.end());
        stop_service();
        EXPECT_EQ(first.wait() + second.wait(), host::NotificationService::kAnotherRuns)
            << "one ends for the other (kAnotherRuns), the other when stopped (0)";
    }
    start_service();
    stop_service();
    EXPECT_EQ(starts().size(), 1u);
    EXPECT_EQ(testing_support::stand_in_lines(device_root()).size(), 1u);
}

// Anyone on the handheld can write to the service's socket: a flood of messages it does
// not understand is counted, not logged line by line, and what is shown is escaped.
TEST_F(NotificationService, AFloodOfBadMessagesIsCountedAndShownEscaped) {
    start_service();
    const auto flood_start = std::chrono::steady_clock::now();
    for (int i = 0; i < 500; ++i) send_raw("it's \"bad\"");
    const auto flood_seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - flood_start).count() + 1;
    // The count of the last second is written once it is over.
    std::vector<std::string> refusals;
    long refused = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (refused < 500 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        refusals.clear();
        refused = 0;
        for (const auto& line : testing_support::log_lines(device_root(), "notify")) {
            if (line.starts_with("ignored a wake-up message")) {
                refusals.push_back(line);
                ++refused;
            } else if (line.starts_with("... and ")) {
                refusals.push_back(line);
                refused += std::stol(line.substr(8));
            }
        }
    }
    stop_service();
    EXPECT_EQ(refused, 500) << "every refusal written or counted";
    EXPECT_LE(refusals.size(), static_cast<std::size_t>(4 * (flood_seconds + 1))) << "a few lines a second";
    ASSERT_FALSE(refusals.empty());
    EXPECT_EQ(refusals.front(), "ignored a wake-up message it does not understand: 'it\\x27s \\x22bad\\x22'");
}

// A tool that set the clock or the zone and was killed right after its change was
// committed: the event it was to raise was recorded with the change, so the programs
// registered for it start, from the running service or from the next one.
TEST_F(NotificationService, AClockOrZoneChangeWhoseToolWasKilledIsRaisedOnceByTheServiceOrTheNextOne) {
    ASSERT_TRUE(host::set_local_time(at(10, 30)));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TZ_CHANGE));
    start_service();
    const auto cut = [](const char* what) {
        testing_support::ChildProcess agent(testing_support::executable_dir() + "/kivo_cut_clock_agent", {what});
        return agent.wait();
    };
    ASSERT_EQ(cut("time"), -1) << "killed once the clock was set";
    EXPECT_EQ(started_programs(1),
              std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange"});

    stop_service();
    ASSERT_EQ(cut("zone"), -1) << "killed once the zone was set, no service running";
    EXPECT_EQ(host::clock_settings().zone, "Asia/Tokyo");
    start_service();
    // An event raised after it marks the end: each change started its programs once.
    std::string failure;
    ASSERT_TRUE(link().raise(NOTIFICATION_EVENT_TIME_CHANGE, &failure)) << failure;
    EXPECT_EQ(started_programs(3), (std::vector<std::string>{
                                       "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange",
                                       "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange",
                                       "started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"}));
    EXPECT_TRUE(host::NotificationStore(host::Device::current().database()).take_events()->empty());
}

// A service killed, and a zone set meanwhile by a tool killed in its turn: the service
// comes back by itself and starts the programs of the zone change.
TEST_F(NotificationService, AKilledServiceComesBackAndRaisesWhatWasRecordedWhileItWasDown) {
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TZ_CHANGE));
    start_service();
    const auto killed = link().running();
    ASSERT_TRUE(killed.has_value());
    ASSERT_EQ(kill(*killed, SIGKILL), 0);
    testing_support::ChildProcess agent(testing_support::executable_dir() + "/kivo_cut_clock_agent", {"zone"});
    ASSERT_EQ(agent.wait(), -1);

    EXPECT_EQ(started_programs(1),
              std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTzChange"});
    const auto again = link().running();
    ASSERT_TRUE(again.has_value());
    EXPECT_NE(*again, *killed);
    const auto log = testing_support::log_lines(device_root(), "notify");
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "started again: the notification service before it ended by signal 9 (Killed)"),
              1);
}

// The keeper killed outright and then, before anything else happens on the handheld,
// the service it kept: the service had seen to a new keeper, whose service takes over
// and starts the registration due next at its second.
TEST_F(NotificationService, AKilledKeeperAndThenItsServiceLeaveAServiceThatStartsTheNextRegistration) {
    ASSERT_TRUE(host::set_local_time(at(10, 0)));
    const SYSTEMTIME half_past = at(10, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &half_past));
    start_service();
    const auto service = link().running();
    const auto keeper = link().keeper();
    ASSERT_TRUE(service.has_value() && keeper.has_value());
    ASSERT_EQ(kill(std::stoi(*keeper), SIGKILL), 0);
    // The service notices and starts a keeper of its own: read from the keeper's file.
    ASSERT_TRUE(eventually([&] {
        const auto now = link().keeper();
        return now.has_value() && *now != *keeper;
    }));
    ASSERT_EQ(kill(*service, SIGKILL), 0);
    // As the clock running there: no service is started for this.
    ASSERT_TRUE(host::set_local_time(at(10, 29, 59)));

    EXPECT_EQ(started_programs(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAtTime"});
    const auto now = link().running();
    ASSERT_TRUE(now.has_value());
    EXPECT_NE(*now, *service);
    const auto log = testing_support::log_lines(device_root(), "notify");
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("the notification service's keeper ended; a new keeper was started");
    }));
}

// A keeper asked to end (a plain kill) ends its service with it: no service is left
// running that nothing would start again.
TEST_F(NotificationService, AKeeperAskedToEndTakesItsServiceWithIt) {
    start_service();
    const auto keeper = link().keeper();
    ASSERT_TRUE(keeper.has_value());
    ASSERT_EQ(kill(std::stoi(*keeper), SIGTERM), 0);
    EXPECT_TRUE(eventually([] { return !link().running() && !link().keeper(); }));
}

// device.db found damaged as the service starts (here emptied): kept aside, made anew,
// said in the log, and the reminder started to register the alarms again from their files.
TEST_F(NotificationService, ADamagedDatabaseIsKeptAsideAndTheReminderRegistersTheAlarmsAgain) {
    testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\Alert.exe");
    std::filesystem::resize_file(device_root() / "device.db", 0);
    testing_support::ChildProcess service(KIVO_NOTIFY_SERVICE, {});

    EXPECT_EQ(started_programs(1),
              std::vector<std::string>{"started program=\\Program Files\\KIVO\\Alert.exe command=UPDATE"});
    const auto log = testing_support::log_lines(device_root(), "notify");
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& line) {
        return line.starts_with("device.db was damaged (the file is empty) and is kept as " +
                                (device_root() / "device.db.damaged-").string());
    }));
    std::vector<std::string> kept;
    for (const auto& entry : std::filesystem::directory_iterator(device_root()))
        if (entry.path().filename().string().starts_with("device.db.damaged-")) kept.push_back(entry.path().filename());
    ASSERT_EQ(kept.size(), 2u) << "the file and its WAL";
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept[1], kept[0] + "-wal");
    stop_service();
    EXPECT_EQ(service.wait(), 0);
}

// "event 1" from anyone, thousands of times, while the program the first one started
// still runs: they wait for it to end and start it once more, and the log says how many
// raises that start stands for.
TEST_F(NotificationService, AFloodOfClockEventsWaitsForTheProgramItStartedAndStartsItOnceMore) {
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));
    setenv("STANDIN_MODE", "wait", 1);
    start_service();
    unsetenv("STANDIN_MODE");
    // The process a start line names.
    const auto process_of = [](const std::string& line) { return std::stoi(line.substr(line.rfind(' ') + 1)); };
    send_raw("event 1");
    ASSERT_EQ(started_programs(1).size(), 1u);
    constexpr int kFlood = 2000;
    for (int sent = 0; sent < kFlood; ++sent) send_raw("event 1");
    // Whatever of the flood the service has read yet, it starts nothing while the program
    // runs; once it has ended, the flood is all read (sent before the end) and starts it once.
    ASSERT_EQ(starts().size(), 1u);
    ASSERT_EQ(kill(process_of(starts()[0]), SIGKILL), 0);

    const auto lines = started_programs(2);
    const auto log = starts();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[1].starts_with("started \\Windows\\kivowake.exe AppRunAfterTimeChange (the clock changed, raised " +
                                   std::to_string(kFlood) + " times since its programs were last started), process "))
        << log[1];
    kill(process_of(log[1]), SIGKILL);
}

// A service killed between marking a due registration and finishing its start: the
// next service starts the program again, so it runs at least once; killed after the
// spawn, the program runs twice (the rare double start a crash costs).
struct CutStart {
    const char* moment;
    std::size_t runs;
};

void PrintTo(const CutStart& cut, std::ostream* out) { *out << cut.moment; }

class NotificationServiceCut : public NotificationService, public ::testing::WithParamInterface<CutStart> {};

TEST_P(NotificationServiceCut, AServiceKilledWhileStartingLosesNothingWhenTheNextOneStarts) {
    ASSERT_TRUE(host::set_local_time(at(10, 30, 5)));
    const SYSTEMTIME half_past = at(10, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &half_past));
    testing_support::ChildProcess cut(testing_support::executable_dir() + "/kivo_cut_start_agent",
                                      {GetParam().moment});
    ASSERT_EQ(cut.wait(), -1) << "killed in the middle of the start";

    start_service();
    const auto programs = started_programs(GetParam().runs);
    stop_service();
    EXPECT_EQ(programs, std::vector<std::string>(GetParam().runs,
                                                 "started program=\\Windows\\kivowake.exe command=AppRunAtTime"));
    const auto log = starts();
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log.back().starts_with("started \\Windows\\kivowake.exe AppRunAtTime (registered for 2026-03-07 "
                                       "10:30:00; again, the service ended while starting it)"))
        << log.back();
    EXPECT_TRUE(host::NotificationStore(host::Device::current().database()).timed_rows().empty());
    EXPECT_TRUE(host::NotificationStore(host::Device::current().database()).unfinished_starts().empty());
}

INSTANTIATE_TEST_SUITE_P(Moments, NotificationServiceCut,
                         ::testing::Values(CutStart{"before-spawn", 1}, CutStart{"after-spawn", 2}),
                         [](const auto& cut) { return std::string(cut.param.moment[0] == 'b' ? "BeforeTheSpawn" : "AfterTheSpawn"); });

}  // namespace
