// The reminder against what other programs do to it: Alert killed in the first
// milliseconds of an alarm, before it has armed the alarm's repeat (the alarm stays
// owed, goes off again within its replay interval, and once it is answered the next
// alarm is the one registered), and a program flooding it with sent messages whose
// answers it never reads (the reminder still answers the person at once), and a program
// posting re-fires the reminder never armed (they ring and beam nothing).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include <chrono>
#include <thread>

#include "AlertHandheld.h"
#include "alarms/AlarmMessages.h"
#include "LocalTime.h"
#include "ProgramStartWatch.h"
#include "alarms/AlertKey.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/window/MessagePacket.h"
#include "host/window/MessagePort.h"

namespace {

using namespace std::chrono;

class AlertCrash : public e2e::AlertHandheld {
protected:
    std::filesystem::path installed_alert() const { return device_root() / "fs" / "Program Files" / "KIVO" / "Alert.exe"; }

    // Kills the Alert that `watch` sees start, `delay` after its start.
    static void kill_at_start(testing_support::ProgramStartWatch& watch, milliseconds delay) {
        const auto pid = watch.wait(seconds(30));
        ASSERT_TRUE(pid.has_value()) << "Alert did not start";
        std::this_thread::sleep_for(delay);
        ASSERT_EQ(kill(*pid, SIGKILL), 0);
        ASSERT_TRUE(eventually([&] { return kill(*pid, 0) != 0; }, 10));
    }
};

TEST_F(AlertCrash, AnAlertKilledAsItStartsLeavesItsAlarmOwedUntilItIsAnswered) {
    const std::u16string later = add_alarm("09:00", {"--days", "daily"});
    const std::u16string alarm = ring_at("08:00", {"--replay", "5", "--description", "Once"});
    for (const int delay : {0, 2, 10}) {
        SCOPED_TRACE("killed " + std::to_string(delay) + " ms after its start");
        testing_support::ProgramStartWatch watch(installed_alert(), "SHOW");
        kill_at_start(watch, milliseconds(delay));
        const std::string now = local_now();
        const std::string due = registered_time();
        EXPECT_GT(seconds_between(now, due), 0) << "the alarm is still owed: " << due;
        EXPECT_LE(seconds_between(now, due), 5 * 60) << "at most its replay interval from now";
        EXPECT_EQ(AlertKey::Pending(), alarm);
        if (HasFailure()) return;
        run_clock_to(due);
    }
    ASSERT_TRUE(eventually(reminder_shown)) << "the owed alarm goes off";
    EXPECT_NE(refire_of(alarm), "");
    ok({"ui", "click", "600"});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(registered_time(), "2026-03-07 09:00:00") << "the once alarm is done; the next one is registered";
    EXPECT_EQ(AlertKey::Pending(), later);
}

TEST_F(AlertCrash, DismissWorksAtOnceWhileAProgramFloodsTheReminderWithMessagesItNeverAnswers) {
    ring_at("08:00", {"--replay", "5"});
    ASSERT_TRUE(eventually(reminder_shown));
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");
    ce::DWORD alert = 0;
    ce::GetWindowThreadProcessId(reminder, &alert);

    // Sent messages from a socket that never reads what comes back.
    const int flood = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(flood, 0);
    const sockaddr_un any{AF_UNIX, {}};
    ASSERT_EQ(bind(flood, reinterpret_cast<const sockaddr*>(&any), sizeof(sa_family_t)), 0);
    sockaddr_un to{};
    to.sun_family = AF_UNIX;
    const std::string path = host::MessagePort::socket_of(static_cast<pid_t>(alert)).string();
    std::memcpy(to.sun_path, path.c_str(), path.size() + 1);
    for (int i = 0; i < 40; ++i) {
        host::MessagePacket packet;
        packet.kind = host::MessagePacket::Kind::send;
        packet.message = ce::MSG{reminder, ce::WM_USER + 500, 0, 0, 0};
        packet.serial = 1000 + static_cast<std::uint64_t>(i);
        const auto bytes = packet.to_bytes();
        ASSERT_EQ(sendto(flood, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to),
                  static_cast<ssize_t>(bytes.size()));
    }

    ok({"ui", "click", "600"});
    EXPECT_TRUE(eventually(reminder_gone, 20)) << "Dismiss was taken while the flood went on";
    close(flood);
    std::ifstream log(device_root() / "log" / "messages.log");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("dropped the answer to message 0x5f4: its sender does not take it"), std::string::npos)
        << text.str();
}

TEST_F(AlertCrash, ForgedRefiresToAOnceAlarmPlayAndBeamNothingMore) {
    add_radio_codebase();
    ring_at("08:00", {"--description", "Once", "--sound", write_sound(100), "--count", "1", "--codebase", "Radio",
                      "--replay", "5"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1 && infrared_sends() == 2; }));
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");
    ASSERT_NE(reminder, nullptr);
    for (int forged = 0; forged < 1000; ++forged)
        ASSERT_TRUE(ce::PostMessageW(reminder, WM_ALERT_REFIRE, 0, kRefireAlarmDue));
    // Time for what a re-fire would start (a play of 100 ms, a beam) to show.
    std::this_thread::sleep_for(milliseconds(1500));
    ok({"ui", "click", "600"});
    ASSERT_TRUE(eventually(reminder_gone, 20));
    EXPECT_EQ(plays().size(), 1u) << "played once";
    EXPECT_EQ(infrared_sends(), 2) << "the macro's two signals, beamed once";
}

}  // namespace
