// An alarm made entirely by hand in KIVO, driven only through the screen (`ui`, `tap`,
// `key`), that goes off through the real chain, is dismissed, then changed by hand.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "AlertHandheld.h"
#include "ce/Process.h"
#include "ce/Windows.h"

namespace {

using ::testing::HasSubstr;

long long milliseconds_between(const ce::SYSTEMTIME& from, const ce::SYSTEMTIME& to) {
    const auto milliseconds = [](const ce::SYSTEMTIME& time) {
        ce::FILETIME file;
        ce::SystemTimeToFileTime(&time, &file);
        return static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32 | file.dwLowDateTime) / 10000);
    };
    return milliseconds(to) - milliseconds(from);
}

// The remote's two buttons, as LIRC mode2 durations (marks positive, spaces negative).
const std::vector<int> kPower = [] {
    std::vector<int> durations = {9000, -4500};
    for (int bit = 0; bit < 32; ++bit) durations.insert(durations.end(), {560, (0xB2B2B2B2u >> bit & 1) != 0 ? -1690 : -560});
    durations.insert(durations.end(), {560, -40000});
    return durations;
}();
const std::vector<int> kVolume = {2400, -600, 1200, -600, 600, -600, 600, -600, 1200, -600, 600, -25000};

// One send of the transmitter's log: when it began (virtual seconds), its carrier and
// its marks and spaces.
struct Send {
    double start = 0;
    double carrier = 0;
    std::vector<int> durations;
    double length() const {
        double microseconds = 0;
        for (const int duration : durations) microseconds += std::abs(duration);
        return microseconds / 1e6;
    }
};

class AlarmByHand : public e2e::AlertHandheld {
protected:
    std::string write_signal(const std::string& name, const std::vector<int>& durations) {
        const auto path = device_root() / name;
        std::ofstream out(path);
        out << "carrier 38000\n";
        for (const int duration : durations) out << (duration > 0 ? "pulse " : "space ") << std::abs(duration) << '\n';
        return path.string();
    }
    // The signal form: a comment, then Learn with the remote's button pressed into the receiver.
    void learn(const std::string& name, const std::string& signal) {
        click(2017);  // IR
        ASSERT_TRUE(showing("\"Add IR Signal\""));
        type(2110, name);
        ok({"ir", "press", signal, "--hold", "0.5"});
        click(2113);  // Learn
        ASSERT_TRUE(showing("\"Learned with success!\""));
        click(1);
        ASSERT_TRUE(showing("Signal learned"));
        click(1);
        ASSERT_TRUE(showing("\"Infrared Signals\""));
    }
    std::vector<Send> beamed() {
        std::vector<Send> sends;
        std::istringstream log(handheld({"ir", "log"}).out);
        std::string line;
        const std::regex header("# send [0-9]+ [^ ]+ at ([0-9.]+) s: ([0-9]+) Hz carrier.*");
        while (std::getline(log, line)) {
            std::smatch match;
            if (std::regex_match(line, match, header)) sends.push_back({std::stod(match[1]), std::stod(match[2]), {}});
            else if (!sends.empty() && line.rfind("pulse ", 0) == 0) sends.back().durations.push_back(std::stoi(line.substr(6)));
            else if (!sends.empty() && line.rfind("space ", 0) == 0) sends.back().durations.push_back(-std::stoi(line.substr(6)));
        }
        return sends;
    }
    void TearDown() override {
        // KIVO runs until told: it must not outlive its handheld.
        if (const ce::HWND window = ce::FindWindowW(nullptr, u"KIVO"); window != nullptr) {
            ce::DWORD process = 0;
            ce::GetWindowThreadProcessId(window, &process);
            if (const ce::HANDLE handle = ce::OpenProcess(0, ce::FALSE, process); handle != nullptr) {
                ce::TerminateProcess(handle, 1);
                ce::CloseHandle(handle);
            }
        }
        AlertHandheld::TearDown();
    }
    // The foreground window's controls, `handheld ui dump`.
    std::string screen() { return handheld({"ui", "dump"}).out; }
    bool showing(const std::string& text) {
        return eventually([&] { return screen().find(text) != std::string::npos; }, 20);
    }
    // A tap in the middle of control `id` of the foreground window, as a finger would.
    void tap_control(int id) {
        const std::string dump = screen();
        std::smatch match;
        const std::regex line("(^|\n)" + std::to_string(id) + " [^\n]* ([0-9]+),([0-9]+) ([0-9]+)x([0-9]+)");
        ASSERT_TRUE(std::regex_search(dump, match, line)) << dump;
        const int x = std::stoi(match[2]) + std::stoi(match[4]) / 2;
        const int y = std::stoi(match[3]) + std::stoi(match[5]) / 2;
        ok({"tap", std::to_string(x), std::to_string(y)});
    }
    // Chooses the item of tree `id` that shows `text`, as a tap on it would.
    void select_item(int id, const std::string& text) {
        const std::string dump = screen();
        std::smatch match;
        ASSERT_TRUE(std::regex_search(dump, match, std::regex("item ([0-9]+) \"" + text + "\""))) << dump;
        ok({"ui", "select", std::to_string(id), match[1].str()});
    }
    void click(int id) { ok({"ui", "click", std::to_string(id)}); }
    void type(int id, const std::string& text) {
        tap_control(id);
        ok({"ui", "set", std::to_string(id), text});
    }
};

TEST_F(AlarmByHand, MadeInTheFormItGoesOffAndAnEditMovesItsWakeUp) {
    set_clock("2026-03-09 06:00:00");  // a Monday
    ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
    ASSERT_TRUE(showing("302 ")) << "the alarm list";

    click(302);  // Add
    ASSERT_TRUE(showing("\"Alarm Options\""));
    type(1004, "Radio on");
    type(2336, "7");
    type(2338, "30");
    click(1008);  // Sunday and Saturday off: the weekdays
    click(1022);
    EXPECT_THAT(screen(), HasSubstr("1015 check \"All\" unchecked"));

    // The sound: a WAV put on the handheld, found through the file form, 3 plays 2 s apart.
    ok({"cp", write_sound(400), "\\My Documents"});
    click(1024);  // Play sound
    click(1006);  // its Settings
    ASSERT_TRUE(showing("\"Assign a Sound to Alarm\""));
    click(1031);  // "..."
    ASSERT_TRUE(showing("\"File Open\""));
    click(1048);  // the folder box drops down the handheld's folders
    ASSERT_TRUE(showing("\"My Documents\""));
    select_item(2005, "My Documents");
    ASSERT_TRUE(showing("\"ring.wav\""));
    ok({"ui", "select", "1041", "0"});
    click(1);
    ASSERT_TRUE(showing("1030 edit \"\\\\My Documents\\\\ring.wav\""));
    ok({"ui", "select", "1033", "2"});  // 3 times
    ok({"ui", "select", "1034", "2"});  // 2 s
    click(1);
    ASSERT_TRUE(showing("\"Alarm Options\""));

    // The infrared commands: two buttons of a remote learned through the receiver, a
    // 1.5 s pause between them.
    click(1023);  // Beam infrared signals
    click(1025);  // its Settings: the command list
    ASSERT_TRUE(showing("\"Infrared Signals\""));
    learn("Power", write_signal("power.mode2", kPower));
    click(2018);  // Pause, after the selected line
    ASSERT_TRUE(showing("\"Add Pause\""));
    ok({"ui", "set", "2103", "1"});
    ok({"ui", "set", "2104", "5"});
    click(1);
    learn("Volume", write_signal("volume.mode2", kVolume));
    ASSERT_TRUE(showing("  line 1 \"Pause 1.5s\""));
    click(1);  // the list goes to the alarm
    ASSERT_TRUE(showing("\"Alarm Options\""));

    click(1);  // OK
    ASSERT_TRUE(showing("300 window")) << "back in the list";

    const std::string alarms = ok({"alarm", "list"});
    EXPECT_THAT(alarms, HasSubstr("07:30  weekdays  active  due 2026-03-09 07:30:00  \"Radio on\""));
    EXPECT_THAT(alarms, HasSubstr("ring.wav"));
    EXPECT_EQ(infrared_sends(), 0) << "nothing beamed while the alarm was made";
    EXPECT_EQ(registered_time(), "2026-03-09 07:30:00");

    const std::size_t beeps = plays().size();  // each learn beeps when it has its signal
    set_clock("2026-03-09 07:29:58");
    ASSERT_TRUE(eventually(reminder_shown)) << "the alarm made by hand goes off";
    ASSERT_TRUE(eventually([&] { return plays().size() >= beeps + 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    const auto all = plays();
    const std::vector<host::CaptureEntry> rung(all.begin() + static_cast<std::ptrdiff_t>(beeps), all.end());
    ASSERT_EQ(rung.size(), 3u) << "three plays, no more";
    const auto sends = beamed();
    ASSERT_EQ(sends.size(), 2u) << handheld({"ir", "log"}).out;
    for (const auto& [send, remote] : {std::pair{sends[0], kPower}, std::pair{sends[1], kVolume}}) {
        EXPECT_NEAR(send.carrier, 38000, 38000 * 0.03);
        ASSERT_GE(send.durations.size(), 4u);
        for (std::size_t index = 0; index < 4; ++index)
            EXPECT_NEAR(send.durations[index], remote[index], std::abs(remote[index]) * 0.08) << "as the remote sent it";
    }
    const double pause = sends[1].start - sends[0].start - sends[0].length();
    // The last pass's closing space is not light, so the log holds it in the gap.
    EXPECT_GE(pause, 1.48) << "the pause between the two signals";
    EXPECT_LE(pause, 1.7) << "the pause between the two signals";
    for (std::size_t play = 1; play < rung.size(); ++play)
        EXPECT_GE(milliseconds_between(rung[play - 1].end, rung[play].start), 1900) << "the 2 s pause before play " << play;
    click(600);  // Dismiss
    ASSERT_TRUE(eventually(reminder_gone));

    ASSERT_TRUE(showing("303 ")) << "KIVO is in front again";
    click(303);  // Edit the selected alarm
    ASSERT_TRUE(showing("\"Alarm Options\""));
    EXPECT_THAT(screen(), HasSubstr("1004 edit \"Radio on\""));
    type(2338, "45");
    click(1);
    ASSERT_TRUE(showing("300 window"));
    EXPECT_TRUE(eventually([&] { return registered_time() == "2026-03-09 07:45:00"; }, 10))
        << "the notification database holds the new time: " << registered_time();
}

}  // namespace
