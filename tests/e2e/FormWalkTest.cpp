// KIVO walked as a person walks it, on each screen the handheld comes in: every form
// reached by the buttons and menus that open it, closed as a person closes it, and a
// picture of each saved for a person to look at. The pictures go to $KIVO_WALK_SHOTS,
// else to the build's "walk" folder; the README's pictures come from there.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "AlertHandheld.h"
#include "ce/Windows.h"

namespace {

struct Screen {
    const char* name;
    const char* width;
    const char* height;
    const char* dpi;
};

void PrintTo(const Screen& screen, std::ostream* out) { *out << screen.name; }

// The place of a control in `ui dump`'s line for it: "ID KIND "TEXT" ... X,Y WxH".
struct Place {
    int x = 0, y = 0, width = 0, height = 0;
};

class FormWalk : public e2e::AlertHandheld, public ::testing::WithParamInterface<Screen> {
protected:
    void SetUp() override {
        AlertHandheld::SetUp();
        const char* shots = std::getenv("KIVO_WALK_SHOTS");
        shots_ = shots != nullptr && *shots != '\0' ? std::filesystem::path(shots) : std::filesystem::path(KIVO_WALK_FOLDER);
        std::filesystem::create_directories(shots_);
        ok({"screen", GetParam().width, GetParam().height, GetParam().dpi});
        set_clock("2026-03-07 05:00:00");
    }
    void TearDown() override {
        if (const ce::HWND kivo = ce::FindWindowW(nullptr, u"KIVO")) {
            ce::PostMessageW(kivo, ce::WM_CLOSE, 0, 0);
            eventually([] { return ce::FindWindowW(nullptr, u"KIVO") == nullptr; }, 10);
        }
        AlertHandheld::TearDown();
    }

    // Waits for the form that shows `text` in `ui dump`, then saves its picture.
    void Shot(const std::string& form, const std::string& text) {
        ASSERT_TRUE(Shows(text)) << form << ": " << handheld({"ui", "dump"}).out;
        const auto picture = shots_ / (form + "-" + GetParam().name + ".png");
        ok({"screenshot", picture.string()});
        EXPECT_TRUE(std::filesystem::exists(picture)) << picture;
    }
    void Click(int id) { ok({"ui", "click", std::to_string(id)}); }
    Place PlaceOf(int id) {
        const std::string dump = ok({"ui", "dump"});
        const std::regex line("(^|\n)" + std::to_string(id) + " [^\n]* (\\d+),(\\d+) (\\d+)x(\\d+)(\n|$)");
        std::smatch found;
        if (!std::regex_search(dump, found, line)) return {};
        return {std::stoi(found[2]), std::stoi(found[3]), std::stoi(found[4]), std::stoi(found[5])};
    }
    void Tap(const Place& place) {
        ok({"tap", std::to_string(place.x + place.width / 2), std::to_string(place.y + place.height / 2)});
    }
    // Opens a form's help from its "?" (2107), pictures it and closes it by the "ok" of
    // its title bar, back to the form showing `back`.
    void Help(const std::string& form, const std::string& back) {
        Tap(PlaceOf(2107));
        Shot(form + "-help", "2035 edit");
        const Place done = PlaceOf(1);
        ASSERT_GT(done.width, 0) << "the help form has its \"ok\"";
        Tap(done);
        ASSERT_TRUE(Shows(back)) << form << " again after its help";
    }
    // Taps the menu bar's title, then the item of that menu, where `ui dump` places them.
    void ChooseFromMenu(const std::string& title, const std::string& item) {
        TapLine("menubar \"" + title + "\"");
        ASSERT_TRUE(Shows(" open\n"));
        TapLine(std::string("menu \"") + title + " > " + item + "\"");
    }
    void TapLine(const std::string& start) {
        const std::string dump = ok({"ui", "dump"});
        const std::size_t at = dump.find(start);
        ASSERT_NE(at, std::string::npos) << start << " in\n" << dump;
        const std::string line = dump.substr(at, dump.find('\n', at) - at);
        const std::regex place(" (\\d+),(\\d+) (\\d+)x(\\d+)( open)?$");
        std::smatch found;
        ASSERT_TRUE(std::regex_search(line, found, place)) << line;
        Tap({std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]), std::stoi(found[4])});
    }
    // The line of a tree's item in `ui dump` ("  item 3 ... My Documents"): its index.
    int TreeItem(const std::string& name) {
        const std::string dump = ok({"ui", "dump"});
        const std::regex line("item (\\d+)[^\n]*" + name);
        std::smatch found;
        return std::regex_search(dump, found, line) ? std::stoi(found[1]) : -1;
    }

    std::filesystem::path shots_;
};

TEST_P(FormWalk, EveryFormAsAPersonReachesIt) {
    const std::string sound = write_sound(400);
    ok({"cp", sound, "\\My Documents"});
    add_radio_codebase();
    add_alarm("06:30", {"--days", "weekdays", "--description", "Get up, coffee machine on", "--sound",
                        "\\My Documents\\ring.wav", "--codebase", "Radio"});
    add_alarm("07:15", {"--days", "sun", "--description", "Sunday run"});
    add_alarm("18:00", {"--days", "daily", "--description", "Evening news on TV", "--codebase", "Radio", "--inactive"});

    ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
    Shot("kivo", "307 window");
    TapLine("menubar \"Options\"");
    Shot("kivo-menu", " open\n");
    TapLine("menubar \"Options\"");  // the open title again closes it
    EXPECT_THAT(ok({"ui", "dump"}), ::testing::Not(::testing::HasSubstr(" open\n")));
    Click(306);  // Help
    Shot("kivo-help", "2035 edit");
    Tap(PlaceOf(1));
    ASSERT_TRUE(Shows("307 window"));

    // A new alarm: the alarm form, and each form it opens.
    const std::string alarm_form = "2100 static \"Alarm Options\"";
    Click(302);
    Shot("alarm-form", alarm_form);
    EXPECT_EQ(handheld({"ui", "set", "2336", "ab"}).exit_code, 1) << "the hour takes digits only";
    Help("alarm-form", alarm_form);

    Click(1024);  // Play sound
    Click(1006);  // its Settings
    const std::string sound_form = "2100 static \"Assign a Sound to Alarm\"";
    Shot("sound-form", sound_form);
    Help("sound-form", sound_form);
    Click(1031);  // "...": the file chooser, on first use at \Windows
    Shot("file-chooser", "1041 ");
    Click(1048);  // the folder box drops its tree down
    Shot("folder-tree", "2005 ");
    const int documents = TreeItem("My Documents");
    ASSERT_GE(documents, 0) << ok({"ui", "dump"});
    ok({"ui", "select", "2005", std::to_string(documents)});
    Shot("file-chooser-folder", "ring.wav");
    Click(2);
    ASSERT_TRUE(Shows(sound_form));
    Click(2);
    ASSERT_TRUE(Shows(alarm_form));

    Click(1026);  // More Options
    const std::string more = "2100 static \"Alarm Options, More...\"";
    Shot("more-options", more);
    Help("more-options", more);
    Click(2);
    ASSERT_TRUE(Shows(alarm_form));

    Click(1023);  // Beam infrared signals
    Click(1025);  // its Settings: the command list
    const std::string commands = "2100 static \"Infrared Signals\"";
    Shot("commands", commands);
    Help("commands", commands);
    Click(2017);  // IR: the signal form
    const std::string signal = "2100 static \"Add IR Signal\"";
    Shot("signal", signal);
    Help("signal", signal);
    Click(2114);  // Advanced
    const std::string advanced = "2100 static \"Advanced Options\"";
    Shot("advanced-options", advanced);
    Help("advanced-options", advanced);
    Click(2);
    ASSERT_TRUE(Shows(signal));
    Click(2);
    ASSERT_TRUE(Shows(commands));
    Click(2018);  // Pause
    const std::string pause = "2100 static \"Add Pause\"";
    Shot("pause", pause);
    Help("pause", pause);
    Click(2);
    ASSERT_TRUE(Shows(commands));
    Click(2);
    ASSERT_TRUE(Shows(alarm_form));
    Click(2);
    ASSERT_TRUE(Shows("307 window"));

    ChooseFromMenu("Preferences", "Infrared Setup");
    const std::string port = "2100 static \"Select COM Port\"";
    Shot("port", port);
    Help("port", port);
    // Learn listens for the remote on the wall clock, with its prompt and a Cancel.
    ok({"ir", "pacing", "on"});
    Click(1028);
    Shot("port-learning", "2116 static");
    Click(2);
    ASSERT_TRUE(Shows(port));
    ok({"ir", "pacing", "off"});
    Click(2);
    ASSERT_TRUE(Shows("307 window"));
    ChooseFromMenu("Options", "Exit");
    ASSERT_TRUE(eventually([] { return ce::FindWindowW(nullptr, u"KIVO") == nullptr; }, 10));

    // The reminder while a long macro beams, with the longest note an alarm keeps.
    ok({"ir", "pacing", "on"});
    const auto power = device_root() / "long.mode2";
    std::ofstream(power) << "carrier 38000\npulse 2400\nspace 600\npulse 1200\nspace 20000\n";
    ok({"ir", "put", "Long", "Power", power.string()});
    ok({"ir", "macro", "Long", "Alarm", "signal:Power", "repeat:1", "delay:9900", "signal:Power", "repeat:1"});
    const std::string note =
        "Wake up and take the pills, then water the plants on the balcony, feed the cat, switch the radio on, "
        "start the coffee machine and check that the children have their sports bags packed for school.....";
    ring_at("07:00", {"--days", "daily", "--description", note.substr(0, 199), "--codebase", "Long"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return infrared_sends() == 1; }));
    Shot("alert-beaming", "600 ");
    EXPECT_EQ(infrared_sends(), 1) << "pictured while it beams";
    Click(600);
    ASSERT_TRUE(eventually(reminder_gone, 10));
    ok({"ir", "pacing", "off"});

    // The reminder ringing, and its list of snooze lengths.
    ring_at("08:00", {"--days", "daily", "--description",
                      "Radio on, coffee machine on, and the news on TV before the children get up", "--sound",
                      "\\My Documents\\ring.wav", "--count", "3", "--pause", "5"});
    ASSERT_TRUE(eventually(reminder_shown));
    Shot("alert", "600 ");
    Click(602);  // the length's arrow
    Shot("alert-snooze", "603 window \"\" visible");
    ok({"key", "ESCAPE"});  // closes the list, choosing nothing
    ASSERT_TRUE(Shows("601 button \"\" visible enabled")) << "Snooze takes a tap again a moment later";
    Click(601);
    ASSERT_TRUE(eventually(reminder_gone, 10));
    ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
    Shot("kivo-snoozed", "307 window");
}

INSTANTIATE_TEST_SUITE_P(Screens, FormWalk,
                         ::testing::Values(Screen{"240x320", "240", "320", "96"}, Screen{"320x240", "320", "240", "96"},
                                           Screen{"480x640", "480", "640", "192"}),
                         [](const auto& screen) { return std::string(screen.param.name); });

}  // namespace
