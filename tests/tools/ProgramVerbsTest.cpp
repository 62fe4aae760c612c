// Installing KIVO, starting its programs and removing it again through `handheld`, as a
// person at a terminal would, with stand-ins for the programs not built yet.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "HandheldDeviceTest.h"
#include "StandIn.h"
#include "ce/Notify.h"
#include "ce/Process.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/notify/NotificationStore.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

class ProgramVerbs : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        package_ = device_root() / "package";
        std::filesystem::create_directories(package_);
        std::filesystem::copy_file(testing_support::stand_in_program(), package_ / "KIVO");
        std::filesystem::copy_file(testing_support::stand_in_program(), package_ / "Alert");
        std::filesystem::copy_file(KIVO_WAKE_PATH, package_ / "kivowake");
        std::filesystem::copy_file(KIVOSETUP_PATH, package_ / "KIVOSETUP.so");
        std::filesystem::copy_file(HELP_PAGE, package_ / "KIVO.htm");
    }
    void TearDown() override {
        unsetenv("STANDIN_MODE");
        HandheldDeviceTest::TearDown();
    }

    std::filesystem::path package_;
};

TEST_F(ProgramVerbs, InstallRunListAndUninstall) {
    ok({"init"});
    EXPECT_THAT(lines_of(ok({"install", "--from", package_.string()})),
                ElementsAre("installed \\Program Files\\KIVO\\KIVO.exe", "installed \\Program Files\\KIVO\\Alert.exe",
                            "installed \\Windows\\kivowake.exe", "installed \\Windows\\KIVO.htm"));
    EXPECT_TRUE(std::filesystem::exists(host_path("Windows/AppMgr/KIVOSETUP.dll")));

    setenv("STANDIN_MODE", "window:KIVOAlert", 1);
    const auto started = lines_of(ok({"run", "\\program files\\kivo\\ALERT.EXE", "SHOW", "now"}));
    ASSERT_THAT(started, ElementsAre(MatchesRegex("started .*ALERT.EXE SHOW now as process [0-9]+")));
    const std::string pid = started[0].substr(started[0].rfind(' ') + 1);
    ce::HWND alert = nullptr;
    for (int tries = 0; alert == nullptr && tries < 2000; ++tries) {
        alert = ce::FindWindowW(nullptr, u"KIVOAlert");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(ce::SetForegroundWindow(alert));
    const auto socket = device_root() / "run" / "windows" / (pid + ".sock");
    EXPECT_TRUE(std::filesystem::exists(socket));
    EXPECT_THAT(lines_of(ok({"ps"})),
                ElementsAre(MatchesRegex("PID +PROGRAM +COMMAND LINE +WINDOW +FOREGROUND +TOP-MOST"),
                            MatchesRegex(pid + " +\\\\Program Files\\\\KIVO\\\\Alert.exe +SHOW now +\"KIVOAlert\" +yes")));

    ASSERT_TRUE(ce::CeRunAppAtEvent(u"\\Windows\\kivowake.exe", ce::NOTIFICATION_EVENT_TIME_CHANGE));
    EXPECT_THAT(lines_of(ok({"uninstall"})),
                ElementsAre("removed \\Program Files\\KIVO\\KIVO.exe", "removed \\Program Files\\KIVO\\Alert.exe",
                            "removed \\Windows\\kivowake.exe", "removed \\Windows\\KIVO.htm"));
    EXPECT_EQ(ce::OpenProcess(ce::PROCESS_ALL_ACCESS, ce::FALSE, static_cast<ce::DWORD>(std::stoul(pid))), nullptr)
        << "Alert was ended before its file went";
    EXPECT_TRUE(host::NotificationStore(host::Device::current().database()).list().empty());
    EXPECT_FALSE(std::filesystem::exists(host_path("Program Files/KIVO")));
    EXPECT_FALSE(std::filesystem::exists(host_path("Windows/AppMgr/KIVOSETUP.dll")));
    EXPECT_FALSE(std::filesystem::exists(host_path("Windows/KIVO.htm")));
    EXPECT_TRUE(std::filesystem::exists(host_path("Windows/peghelp.exe"))) << "the handheld's own viewer stays";
    EXPECT_THAT(lines_of(ok({"ps"})), ElementsAre("no programs running"));
    EXPECT_FALSE(std::filesystem::exists(socket)) << "the ended program's socket stays";
}

// `handheld run ... | cat` ends when the tool does: the started program's output goes to
// the handheld's log, not into the tool's pipe, which would stay open as long as it runs.
TEST_F(ProgramVerbs, RunReturnsAtOnceThroughAPipeAndTheProgramPrintsToTheHandheldsLog) {
    ok({"init"});
    ok({"install", "--from", package_.string()});
    setenv("STANDIN_MODE", "wait", 1);
    const std::string command = std::string(HANDHELD_PROGRAM) + " --device '" + device_root().string() +
                                "' run '\\Program Files\\KIVO\\KIVO.exe'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char first[256] = {};
    ASSERT_NE(fgets(first, sizeof first, pipe), nullptr);
    const std::string started(first);
    ASSERT_NE(started.find(" as process "), std::string::npos) << started;
    const pid_t program = static_cast<pid_t>(std::stol(started.substr(started.rfind(' ') + 1)));
    pollfd end{fileno(pipe), POLLIN, 0};
    char rest[64];
    const bool ended = poll(&end, 1, 10000) == 1 && read(fileno(pipe), rest, sizeof rest) == 0;
    kill(program, SIGKILL);
    pclose(pipe);
    EXPECT_TRUE(ended) << "the pipe closed with the tool, while the program still ran";
    EXPECT_TRUE(std::filesystem::exists(device_root() / "log" / "KIVO.out"));
}

TEST_F(ProgramVerbs, RefusalsSayWhy) {
    ok({"init"});
    auto result = handheld({"uninstall"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("KIVO is not installed on this handheld"));

    std::filesystem::remove(package_ / "KIVOSETUP.so");
    result = handheld({"install", "--from", package_.string()});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("no KIVOSETUP.so in " + package_.string()));

    result = handheld({"run", "\\Windows\\nothing.exe", "SHOW"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "handheld run: cannot start \\Windows\\nothing.exe: not found (error 2)\n");
    EXPECT_EQ(handheld({"run"}).exit_code, 2);
    EXPECT_EQ(handheld({"ps", "all"}).exit_code, 2);
}

TEST_F(ProgramVerbs, AProgramMissingFromThePackageIsReportedAndLeftOut) {
    ok({"init"});
    std::filesystem::remove(package_ / "KIVO");
    EXPECT_THAT(lines_of(ok({"install", "--from", package_.string()})),
                ElementsAre("not in the package (not built yet): KIVO", "installed \\Program Files\\KIVO\\Alert.exe",
                            "installed \\Windows\\kivowake.exe", "installed \\Windows\\KIVO.htm"));
    EXPECT_FALSE(std::filesystem::exists(host_path("Program Files/KIVO/KIVO.exe")));
}

}  // namespace
