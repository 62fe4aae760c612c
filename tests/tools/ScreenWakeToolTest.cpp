// An alarm's wake on a computer with a desktop session: the wake program turning the
// handheld's display on also asks the session's screen saver to wake the screen, over a
// session bus the test starts for itself, with a stand-in screen saver on it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "HandheldDeviceTest.h"
#include "StandIn.h"
#include "host/display/SessionScreen.h"

namespace {

using ::testing::HasSubstr;

constexpr const char* kBusDaemon = "/usr/bin/dbus-daemon";

class ScreenWake : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        // The real wake program, a stand-in reminder.
        const auto package = device_root() / "package";
        std::filesystem::create_directories(package);
        std::filesystem::copy_file(testing_support::stand_in_program(), package / "KIVO");
        std::filesystem::copy_file(testing_support::stand_in_program(), package / "Alert");
        std::filesystem::copy_file(KIVO_WAKE_PATH, package / "kivowake");
        std::filesystem::copy_file(KIVOSETUP_PATH, package / "KIVOSETUP.so");
        std::filesystem::copy_file(HELP_PAGE, package / "KIVO.htm");
        ok({"init"});
        ok({"install", "--from", package.string()});
        // Where the wake program finds the reminder, as the reminder records it.
        ok({"reg", "set", "HKLM\\Software\\TessaMedia\\KIVO\\Alert", "exe", "--sz", "\\Program Files\\KIVO\\Alert.exe"});
    }
    // The wake program as the notification service starts it for a due alarm; the
    // reminder's start, once it has happened.
    std::string wake_for_alarm(std::size_t wakes_before) {
        ok({"run", "\\Windows\\kivowake.exe", "AppRunAtTime"});
        return testing_support::wait_for_stand_in_lines(device_root(), wakes_before + 1).back();
    }
};

TEST_F(ScreenWake, AnAlarmsWakeAsksTheSessionsScreenSaverOnce) {
    if (access(kBusDaemon, X_OK) != 0) GTEST_SKIP() << "dbus-daemon is not installed";
    testing_support::ChildProcess bus(kBusDaemon, {"--session", "--nofork", "--print-address=1"});
    const auto address = bus.read_line();
    ASSERT_TRUE(address && !address->empty());
    setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
    testing_support::ChildProcess screen_saver(SCREENSAVER_STANDIN, {});
    ASSERT_EQ(screen_saver.read_line(), "ready");

    EXPECT_THAT(wake_for_alarm(0), HasSubstr("program=\\Program Files\\KIVO\\Alert.exe command=SHOW"));
    EXPECT_EQ(screen_saver.read_line(), "activity 1");
    // The next call is the test's own: the wake program made no second one before it.
    EXPECT_TRUE(host::SessionScreen::ask_to_light());
    EXPECT_EQ(screen_saver.read_line(), "activity 2");
    EXPECT_THAT(ok({"status"}), HasSubstr("\ndisplay     on\n"));

    // Without a session bus the wake does what it always did.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_FALSE(host::SessionScreen::ask_to_light());
    EXPECT_THAT(wake_for_alarm(1), HasSubstr("command=SHOW"));
    EXPECT_THAT(ok({"status"}), HasSubstr("\ndisplay     on\n"));
    bus.kill();
}

// A desktop that hangs: its bus takes the connection and never says a word. The wake
// program starts the reminder first and gives the bus a second, said in the log.
TEST_F(ScreenWake, ABusThatNeverAnswersHoldsTheReminderUpForNothing) {
    const auto socket_path = device_root() / "hung-bus";
    const int bus = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(bus, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socket_path.string().size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socket_path.c_str());
    ASSERT_EQ(bind(bus, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(bus, 16), 0);  // the kernel takes connections; nobody ever reads them
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + socket_path.string()).c_str(), 1);

    const auto asked = std::chrono::steady_clock::now();
    EXPECT_THAT(wake_for_alarm(0), HasSubstr("program=\\Program Files\\KIVO\\Alert.exe command=SHOW"));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(3)) << "the reminder started at once";
    const auto said = [&] {
        std::ifstream log(device_root() / "log" / "screen.log");
        std::stringstream text;
        text << log.rdbuf();
        return text.str().find("did not answer within 1000 ms: the desktop's screen was not woken") != std::string::npos;
    };
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!said() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(said());
    EXPECT_THAT(ok({"status"}), HasSubstr("\ndisplay     on\n"));
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    close(bus);
}

}  // namespace
