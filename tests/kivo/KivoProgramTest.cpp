// KIVO installed on a handheld and run as a person runs it: started by the shell, seen
// and tapped through `handheld ui` and `handheld tap`, ended from its menu.

#include <gmock/gmock.h>
#include <gtest/gtest.h>


#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <QImage>
#include <QRect>
#include <thread>

#include "../tools/HandheldDeviceTest.h"
#include "StandIn.h"
#include "UiDump.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Messages.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "ce/Windows.h"
#include "framework/WindowMessages.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"
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
    // The place a dump line gives: "... X,Y WxH" at the end of the line starting `line_start`.
    static QRect place(const std::string& dump, const std::string& line_start) {
        const std::regex place(std::regex_replace(line_start, std::regex(R"([\\^$.|?*+()\[\]{}])"), R"(\$&)") +
                               R"([^\n]* (-?\d+),(-?\d+) (\d+)x(\d+)( open)?\n)");
        std::smatch found;
        if (!std::regex_search(dump, found, place)) return {};
        return {std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]), std::stoi(found[4])};
    }
    // The centre of that place.
    static std::pair<std::string, std::string> centre(const std::string& dump, const std::string& line_start) {
        const QRect found = place(dump, line_start);
        if (found.isNull()) return {};
        return {std::to_string(found.center().x()), std::to_string(found.center().y())};
    }
    void tap_place(const std::string& line_start) {
        const auto [x, y] = centre(ok({"ui", "dump"}), line_start);
        ASSERT_FALSE(x.empty()) << "no place for " << line_start << " in\n" << ok({"ui", "dump"});
        ok({"tap", x, y});
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

// An edit's save replaces the alarm's codebase in steps. KIVO killed between them (as the
// setup library terminates it) must leave an alarm that the next program to use it finds
// whole, with its own codebase, never one naming a codebase that is not there.
TEST_F(KivoProgram, AnEditKilledHalfWayThroughItsSaveLeavesTheAlarmWholeForTheNextStart) {
    const auto path = write_alarm(6, 30, 1);
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetIrDatabase(u"1"), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetBeamIr(1), CAlarmDB::kOk);
    }
    auto& codebases = platform::card::database_registry::instance();
    codebases.set_codebase_folder(kAlarms);
    ASSERT_EQ(codebases.create_codebase("1", std::vector<std::uint8_t>{0, 0, 0, 0}), platform::card::kOk);
    {
        platform::card::codebase_writer writer;
        ASSERT_EQ(writer.open("1"), platform::card::kOk);
        ASSERT_EQ(writer.put_signal("Power", {{9000, -4500, 560, -40000}, 0, 26}, true), platform::card::kOk);
        irvox::command_list steps;
        steps.add_reference("Power", 3, 1000, nullptr, nullptr);
        ASSERT_EQ(steps.serialise_macro("Alarm"), 0);
        ASSERT_EQ(writer.put_macro("Alarm", steps.record()), platform::card::kOk);
        ASSERT_EQ(writer.commit(), platform::card::kOk);
    }
    // Many other databases in the folder: each look through it takes a while, and the
    // save looks through it between its steps.
    const auto folder = host_path("Program Files/KIVO/Alarms");
    for (int other = 0; other < 2000; ++other)
        std::ofstream(folder / ("other" + std::to_string(other) + ".pdb")) << "not a codebase";

    RunKivo();
    ok({"ui", "click", std::to_string(IDC_EDIT)});
    ASSERT_TRUE(Shows("1004 edit \"Coffee machine on\""));
    ok({"ui", "set", "1004", "Coffee machine off"});
    const ce::HWND kivo = ce::FindWindowW(nullptr, u"KIVO");
    ce::DWORD pid = 0;
    ce::GetWindowThreadProcessId(kivo, &pid);
    ASSERT_NE(pid, 0u);

    // OK, and KIVO killed the moment the old codebase is set aside.
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO), 0);
    // The tool may wait for the click to be handled: it taps while this test watches.
    std::thread tap([&] { handheld({"ui", "click", "1"}); });
    bool killed = false;
    alignas(inotify_event) char events[4096];
    pollfd waiting{watch, POLLIN, 0};
    while (!killed && poll(&waiting, 1, 20000) > 0) {
        const ssize_t got = read(watch, events, sizeof events);
        for (ssize_t at = 0; at < got && !killed;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && std::string(event->name) == "1.pdb.~old") killed = ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    close(watch);
    tap.join();
    ASSERT_TRUE(killed) << "the save never set the codebase aside";
    ASSERT_TRUE(Ended());
    ASSERT_TRUE(std::filesystem::exists(folder / "1.pdb.~old")) << "killed after the save had ended";

    // The next start finds the alarm as it was before the save: the save never took effect.
    RunKivo();
    ok({"ui", "click", std::to_string(ID_APP_EXIT)});
    ASSERT_TRUE(Ended());
    EXPECT_FALSE(std::filesystem::exists(folder / "1.pdb.~old"));
    EXPECT_FALSE(std::filesystem::exists(folder / "1.~kv"));
    CAlarmDB alarm;
    ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
    std::u16string description;
    ASSERT_TRUE(alarm.ReadDescription(description));
    std::u16string database;
    ASSERT_TRUE(alarm.ReadIrDatabase(database));
    alarm.Close();
    codebases.rescan();
    platform::card::codebase base;
    ASSERT_EQ(base.open(ce::ansi_from_wide(database)), platform::card::kOk) << "the alarm's codebase is there";
    const int macro = base.find_macro("Alarm");
    ASSERT_GE(macro, 0);
    irvox::command_list steps;
    steps.load_macro(base.record(macro));
    ASSERT_EQ(steps.commands().size(), 1u);
    EXPECT_GE(base.find_signal(irvox::command::text_of(steps.commands()[0].id)), 0) << "with the signal it beams";
    EXPECT_EQ(description, u"Coffee machine on");
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

// Taps where the dump places the menu bar's titles and items, as a person taps what the
// screen shows, at each screen shape: the menu opens on the screen, a tap beside it
// closes it, and its items are chosen by a tap.
class KivoMenus : public KivoProgram, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(KivoMenus, TitlesOpenTheirMenusByATapAndItemsAreChosenByATap) {
    std::vector<std::string> screen = {"screen"};
    screen.insert(screen.end(), GetParam().begin(), GetParam().end());
    ok(screen);
    RunKivo();

    tap_place("menubar \"Options\"");
    ASSERT_TRUE(Shows(" open\n"));
    std::string dump = ok({"ui", "dump"});
    EXPECT_THAT(dump, ::testing::ContainsRegex("menubar \"Options\" [0-9,x ]+ open\n"));
    EXPECT_THAT(dump, ::testing::ContainsRegex("57664 menu \"Options > About KIVO...\" enabled [0-9]+,[0-9]+ [0-9]+x[0-9]+\n"))
        << "its items are on the screen";
    EXPECT_THAT(dump, HasSubstr("32774 menu \"Preferences > Infrared Setup\" enabled\n")) << "the other menu is closed";

    // A tap beside the menu closes it and reaches nothing under it.
    ok({"tap", "2", "2"});
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("57664 menu \"Options > About KIVO...\" enabled\n"));

    tap_place("menubar \"Options\"");
    tap_place("57664 menu \"Options > About KIVO...\"");
    ASSERT_TRUE(Shows("static \"About KIVO\""));
    ok({"key", "ESCAPE"});
    ASSERT_TRUE(Shows("menubar \"Preferences\""));

    tap_place("menubar \"Preferences\"");
    tap_place("32774 menu \"Preferences > Infrared Setup\"");
    ASSERT_TRUE(Shows("2100 static \"Select COM Port\""));
    ok({"ui", "click", "2"});
    ASSERT_TRUE(Shows("menubar \"Options\""));

    tap_place("menubar \"Options\"");
    tap_place("57665 menu \"Options > Exit\"");
    EXPECT_TRUE(Ended()) << "Exit, chosen by a tap, ends KIVO";
}

INSTANTIATE_TEST_SUITE_P(Shapes, KivoMenus,
                         ::testing::Values(std::vector<std::string>{"240", "320", "96"},
                                           std::vector<std::string>{"320", "240", "96"},
                                           std::vector<std::string>{"480", "640", "192"}),
                         [](const auto& shape) { return shape.param[0] + "x" + shape.param[1]; });

// KIVO started at 96 dpi and turned to 480 x 640 at 192 dpi while it runs draws as one
// started there: the menu bar, an opened menu, the list's rows and the clock's figures.
class KivoDpiChange : public KivoProgram {
protected:
    // The dump with the clock's text, which moves on every second, left out.
    std::string dump_without_clock() {
        return std::regex_replace(ok({"ui", "dump"}), std::regex(R"(307 window "[^"]*")"), "307 window");
    }
    QImage screenshot(const std::string& name) {
        const auto path = device_root() / (name + ".png");
        ok({"screenshot", path.string()});
        return QImage(QString::fromStdString(path.string()));
    }
    // Rows of the clock's panel holding its large figures (the only pure white there):
    // how tall the figures are drawn.
    static int figure_height(const QImage& screen, const QRect& clock) {
        int top = -1, bottom = -1;
        for (int y = clock.top(); y <= clock.bottom(); ++y)
            for (int x = clock.left(); x <= clock.right(); ++x)
                if (screen.pixel(x, y) == qRgb(255, 255, 255)) {
                    if (top < 0) top = y;
                    bottom = y;
                    break;
                }
        return top < 0 ? 0 : bottom - top + 1;
    }
    struct Seen {
        std::string list;  // the dump, the clock's text left out
        std::string menu;  // the dump with Options open
        QImage rows;       // the list as drawn
        int figures = 0;
    };
    Seen look() {
        Seen seen;
        seen.list = dump_without_clock();
        const QImage screen = screenshot("list");
        seen.rows = screen.copy(place(seen.list, "300 window"));
        seen.figures = figure_height(screen, place(seen.list, "307 window"));
        tap_place("menubar \"Options\"");
        EXPECT_TRUE(Shows(" open\n"));
        seen.menu = dump_without_clock();
        ok({"key", "ESCAPE"});
        return seen;
    }
};

TEST_F(KivoDpiChange, ARunningKivoDrawsAtTheNewDpiAsOneStartedAtIt) {
    write_alarm(7, 0, 1);
    ok({"screen", "480", "640", "192"});
    RunKivo();
    const Seen started = look();
    ASSERT_THAT(started.list, HasSubstr("menubar \"Options\" 6,613 80x27\n")) << "the menu bar of a 192-dpi start";
    ok({"ui", "click", std::to_string(ID_APP_EXIT)});
    ASSERT_TRUE(Ended());

    ok({"screen", "240", "320", "96"});
    RunKivo();
    ok({"screen", "480", "640", "192"});
    EXPECT_TRUE(Shows("menubar \"Options\" 6,613 ")) << ok({"ui", "dump"});
    const Seen changed = look();
    EXPECT_EQ(changed.list, started.list) << "the list, its buttons and the menu bar";
    EXPECT_EQ(changed.menu, started.menu) << "the opened menu's items";
    // A pixel either way: the minute may turn between the two looks.
    EXPECT_NEAR(changed.figures, started.figures, 1) << "the clock's figures";
    EXPECT_GT(started.figures, 30);
    ASSERT_FALSE(changed.rows.isNull());
    EXPECT_TRUE(changed.rows == started.rows) << "the list's rows are drawn as at a 192-dpi start";
}

}  // namespace
