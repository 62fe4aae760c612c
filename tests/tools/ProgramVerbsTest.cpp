// Installing KIVO, starting its programs and removing it again through `handheld`, as a
// person at a terminal would, with stand-ins for the programs not built yet.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

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
