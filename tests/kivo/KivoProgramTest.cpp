// KIVO installed on a handheld and run as a person runs it: started by the shell, seen
// and tapped through `handheld ui` and `handheld tap`, ended from its menu.

#include <gmock/gmock.h>
#include <gtest/gtest.h>


#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "../tools/HandheldDeviceTest.h"
#include "StandIn.h"
#include "UiDump.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Messages.h"
#include "ce/Notify.h"
#include "ce/Windows.h"
#include "framework/WindowMessages.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"
#include "kivo/KivoIds.h"
#include "LocalTime.h"

namespace {

using ::testing::HasSubstr;

constexpr const char16_t* kAlarms = u"\\Program Files\\KIVO\\Alarms";
constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

class KivoProgram : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        const auto package = device_root() / "package";
        std::filesystem::create_directories(package);
        std::filesystem::copy_file(KIVO_PROGRAM, package / "KIVO");
        std::filesystem::copy_file(testing_support::stand_in_program(), package / "Alert");
        std::filesystem::copy_file(KIVO_WAKE_PATH, package / "kivowake");
        std::filesystem::copy_file(KIVOSETUP_PATH, package / "KIVOSETUP.so");
        std::filesystem::copy_file(std::filesystem::path(KIVO_PROGRAM).parent_path() / "KIVO.htm", package / "KIVO.htm");
        ok({"init"});
        ok({"screen", "240", "320", "96"});
        ok({"install", "--from", package.string()});
        ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
        ASSERT_TRUE(host::set_local_time(testing_support::local_time(2026, 12, 8, 5, 0)));
    }
    void TearDown() override {
        // A test that stopped half-way must not leave the help viewer running either.
        for (const char16_t* title : {u"Help", u"KIVO"})
            if (ce::HWND window = ce::FindWindowW(nullptr, title)) ce::PostMessageW(window, ce::WM_CLOSE, 0, 0);
        Ended();
        HandheldDeviceTest::TearDown();
    }

    void RunKivo() {
        ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
        ASSERT_TRUE(Shows("307 window"));
    }
    static bool Ended() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ce::FindWindowW(nullptr, u"KIVO") != nullptr) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    static std::vector<host::Notification> registrations() {
        return host::NotificationStore(host::Device::current().database()).list();
    }
    static std::optional<std::string> registered_time() {
        for (const auto& notification : registrations())
            if (notification.is_timed() && notification.application == kWake) return host::time_text(notification.time);
        return std::nullopt;
    }
    static std::u16string write_alarm(int hour, int minute, int active) {
        const std::u16string path = std::u16string(kAlarms) + u"\\1.kivo";
        ce::CreateDirectoryW(kAlarms);
        CAlarmDB alarm;
        EXPECT_EQ(alarm.Create(path), CAlarmDB::kOk);
        alarm.SetDescription(u"Coffee machine on");
        alarm.SetAlarmTime(hour, minute);
        alarm.SetDays(0x7F);
        alarm.SetActive(static_cast<std::uint8_t>(active));
        return path;
    }
    static int active_of(const std::u16string& path) {
        CAlarmDB alarm;
        std::uint8_t active = 0;
        return alarm.Open(path) == CAlarmDB::kOk && alarm.GetActive(active) == CAlarmDB::kOk ? active : -1;
    }
};

TEST_F(KivoProgram, FirstStartMakesTheAlarmsFolderAndDropsWakeUpsForAlarmsThatAreGone) {
    ce::RemoveDirectoryW(kAlarms);
    ASSERT_EQ(ce::GetFileAttributesW(kAlarms), ce::INVALID_FILE_ATTRIBUTES);
    const auto later = testing_support::local_time(2026, 12, 9, 6, 0);
    ASSERT_TRUE(ce::CeRunAppAtTime(kWake, &later));

    RunKivo();
    EXPECT_NE(ce::GetFileAttributesW(kAlarms) & ce::FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_TRUE(registrations().empty());
    const std::string dump = ok({"ui", "dump"});
    for (const char* button : {R"(302 window "Add")", R"(303 window "Edit")", R"(305 window "Delete")",
                               R"(304 window "Copy")", R"(306 window "Help")"})
        EXPECT_THAT(dump, HasSubstr(button));
    EXPECT_THAT(dump, HasSubstr(R"(307 window "5:00:)"));

    // Options > Help on KIVO: the handheld's help viewer on the program's page.
    ce::PostMessageW(ce::FindWindowW(nullptr, u"KIVO"), framework::WM_COMMAND, ID_HELP_KIVO, 0);
    std::smatch viewer;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string listed;
    while (!std::regex_search(listed, viewer, std::regex(R"((\d+) +\\Windows\\peghelp\.exe +file:KIVO\.htm)")) &&
           std::chrono::steady_clock::now() < end)
        listed = ok({"ps"});
    ASSERT_FALSE(viewer.empty()) << listed;
    ASSERT_TRUE(Shows("100 browser \"KIVO\\u000aKIVO is an alarm clock"));
    // Closing the viewer gives the screen back to the list.
    ok({"key", "ESCAPE"});
    EXPECT_TRUE(Shows("307 window"));
}

struct SplashCase {
    const char* name;
    std::optional<unsigned> hide_splash;
    bool started;
};
void PrintTo(const SplashCase& value, std::ostream* out) { *out << value.name; }


class SplashAtStart : public KivoProgram, public ::testing::WithParamInterface<SplashCase> {};

TEST_P(SplashAtStart, HideSplashDecidesWhetherTheSplashProgramRuns) {
    testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\splash.exe");
    if (GetParam().hide_splash)
        ok({"reg", "set", "HKLM\\Software\\TessaMedia\\KIVO", "HideSplash", "--dword",
            std::to_string(*GetParam().hide_splash)});
    RunKivo();
    if (GetParam().started) {
        const auto lines = testing_support::wait_for_stand_in_lines(device_root(), 1);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_THAT(lines[0], HasSubstr("splash.exe"));
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(testing_support::stand_in_lines(device_root()).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(HideSplash, SplashAtStart,
                         ::testing::Values(SplashCase{"Absent", std::nullopt, true}, SplashCase{"Zero", 0u, true},
                                           SplashCase{"One", 1u, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(KivoProgram, ATapOnTheCheckBoxDisarmsAndExitKeepsTheWakeUpOfWhatIsArmed) {
    const auto path = write_alarm(6, 30, 1);
    RunKivo();
    ASSERT_EQ(registered_time(), "2026-12-08 06:30:00");

    // The check box of the first row, where the list begins on a portrait screen.
    const std::string dump = ok({"ui", "dump"});
    std::smatch place;
    ASSERT_TRUE(std::regex_search(dump, place, std::regex(R"((^|\n)300 window [^\n]* (\d+),(\d+) )")));
    const int x = std::stoi(place[2]) + 20, y = std::stoi(place[3]) + 12;
    ok({"tap", std::to_string(x), std::to_string(y)});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (active_of(path) != 0 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(active_of(path), 0);
    EXPECT_EQ(registered_time(), std::nullopt);
    ok({"tap", std::to_string(x), std::to_string(y)});
    while (active_of(path) != 1 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(registered_time(), "2026-12-08 06:30:00");

    // Exit registers again what a lost registration would otherwise miss.
    ce::CeRunAppAtTime(kWake, nullptr);
    ce::CeRunAppAtEvent(kWake, 0);
    ok({"ui", "click", std::to_string(ID_APP_EXIT)});  // Options > Exit
    ASSERT_TRUE(Ended());
    EXPECT_EQ(registered_time(), "2026-12-08 06:30:00");
}

TEST_F(KivoProgram, TheMenuBarIsListedAndChosenThroughTheToolAndAGreyedItemIsRefused) {
    RunKivo();
    const std::string dump = ok({"ui", "dump"});
    EXPECT_THAT(dump, HasSubstr("32775 menu \"Options > Help on KIVO\" enabled\n"
                                "32776 menu \"Options > Welcome to KIVO\" greyed\n"
                                "57664 menu \"Options > About KIVO...\" enabled\n"
                                "57665 menu \"Options > Exit\" enabled\n"
                                "32774 menu \"Preferences > Infrared Setup\" enabled\n"));

    // Without the welcome program installed its item is greyed: choosing it is refused.
    const auto greyed = handheld({"ui", "click", std::to_string(ID_WELCOME)});
    EXPECT_EQ(greyed.exit_code, 1);
    EXPECT_THAT(greyed.err, HasSubstr("menu item 32776 \"Options > Welcome to KIVO\" is greyed"));

    // Preferences > Infrared Setup opens the port form, the foreground window until it
    // is closed; its list shows the handheld's ports, the infrared one selected.
    ok({"ui", "click", std::to_string(ID_INFRARED_SETUP)});
    ASSERT_TRUE(Shows("2100 static \"Select COM Port\""));
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("  line 2 \"COM3: Infrared Port\" selected\n"));
    EXPECT_THAT(ok({"ui", "dump", "--json"}), HasSubstr(R"("lines":["COM1: Serial Cable on COM1:",)"));
    ok({"ui", "click", "2"});
    EXPECT_TRUE(Shows("57665 menu"));
}

}  // namespace
