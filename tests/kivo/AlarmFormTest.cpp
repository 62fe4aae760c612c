// The alarm form as a person uses it from the list: Add and Edit open it, the stylus
// and the keyboard fill it in, OK writes the alarm file and its codebase, and a save that
// cannot be written leaves the store as it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <cstdio>
#include <functional>
#include <future>
#include <span>
#include <thread>

#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/ArmedTime.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Time.h"
#include "forms/CommandListCodebase.h"
#include "forms/FormIds.h"
#include "forms/SoundRefusal.h"
#include "framework/Automation.h"
#include "framework/CButton.h"
#include "framework/CWinApp.h"
#include "framework/InputDispatcher.h"
#include "framework/MessageBox.h"
#include "framework/WindowMessages.h"
#include "irlib/card/codebase.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"
#include "KivoHandheld.h"
#include "WavFile.h"
#include "forms/CMoreOptionsDlg.h"
#include "forms/CSetSoundDlg.h"
#include "framework/CListBox.h"
#include "host/wave/AudioSettings.h"
#include "host/wave/CaptureLog.h"
#include "kivo/CAlarmOptionsDlg.h"
#include "kivo/KivoIds.h"

namespace kivo_tests {
namespace {

using D = CAlarmOptionsDlg;
using platform::card::kOk;

const platform::card::signal_data kPower{{9000, -4500, 560, -1690, 560, -40000}, 2, 26};
const platform::card::signal_data kVolume{{2400, -600, 1200, -20000}, 0, 25};

std::u16string alarm_path(const std::u16string& name) { return alarm_tests::kAlarms + name; }
bool exists(const std::u16string& path) { return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES; }

std::u16string put_sound(const std::string& name, int seconds);

class AlarmForm : public KivoHandheld {
protected:
    using Steps = std::function<void(D& form)>;

    void SetUp() override {
        KivoHandheld::SetUp();
        set_clock("Europe/Berlin", alarm_tests::local_time(2026, 12, 8, 5, 0));
    }

    // Opens the form with the list's button and works it; a form still open afterwards
    // is cancelled, so that a failing step cannot leave the test waiting.
    void Use(int button, const Steps& steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* form = dynamic_cast<D*>(CWinApp::Foreground());
            ran = true;
            if (form == nullptr) return;
            RunQueued();  // the form becomes the active window, as on the screen
            steps(*form);
            // Looked at once the steps are over: an OK or Cancel they pressed has closed it.
            QTimer::singleShot(0, [shown = QPointer<QWidget>(form->widget())] {
                CWnd* still_open = shown != nullptr ? CWnd::FromWidget(shown) : nullptr;
                if (still_open != nullptr) framework::Automation::Click(still_open, framework::IDCANCEL);
            });
        });
        view().SendMessage(framework::WM_COMMAND, framework::MAKEWPARAM(static_cast<unsigned>(button), 0), 0);
        ASSERT_TRUE(ran) << "the form did not open";
    }

    // The stylus on a control, `fraction` of its height from its top.
    static void Tap(D& form, int id, double fraction = 0.5) {
        QWidget* control = form.GetDlgItem(id)->widget();
        const QPoint point = control->mapTo(form.widget(), QPoint(control->width() / 2, static_cast<int>(control->height() * fraction)));
        const ce::LPARAM where = framework::MAKELPARAM(point.x(), point.y());
        framework::InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_LBUTTONDOWN, framework::MK_LBUTTON, where, 0});
        framework::InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_LBUTTONUP, 0, where, 0});
        RunQueued();
    }
    // Into the field, then its new text, as `handheld ui set` gives it.
    static void Type(D& form, int id, const std::u16string& text) {
        Tap(form, id);
        form.GetDlgItem(id)->SetWindowText(text);
    }
    static void Spin(D& form, int steps) {
        for (int step = 0; step < std::abs(steps); ++step) Tap(form, D::IDC_SPIN, steps > 0 ? 0.2 : 0.8);
    }
    static std::u16string Text(D& form, int id) { return form.GetDlgItem(id)->GetWindowText(); }
    static bool Checked(D& form, int id) { return dynamic_cast<CButton*>(form.GetDlgItem(id))->GetCheck() == CButton::BST_CHECKED; }
    static bool Enabled(D& form, int id) { return form.GetDlgItem(id)->IsWindowEnabled(); }

    std::u16string SelectedFile() const { return list().Row(list().Selected())->file_name; }

    // An alarm 7 with a sound and a codebase "7" whose macro "Alarm" holds the power
    // signal, a pause, a step whose signal is gone and the volume signal.
    // Alarm 4 at 8:00, playing a 3-second sound three times, with the sound captured.
    std::u16string WriteLongSoundAlarm() {
        EXPECT_TRUE(host::AudioSettings::set_backend(host::AudioBackend::capture));
        const auto sound = put_sound("long.wav", 3);
        const auto path = write(4, {.hour = 8, .description = u"long sound"});
        CAlarmDB alarm;
        EXPECT_EQ(alarm.Open(path), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundFile(sound), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetPlaySound(1), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundRepeat(3), CAlarmDB::kOk);
        return path;
    }
    std::u16string WriteFullAlarm() {
        const auto path = write(7, {.hour = 6, .minute = 30, .description = u"Radio", .active = 0, .days = 0x1F, .refire = true});
        ce::CreateDirectoryW(u"\\My Documents");
        WriteSound(u"\\My Documents\\ring.wav");
        CAlarmDB alarm;
        EXPECT_EQ(alarm.Open(path), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundFile(u"\\My Documents\\ring.wav"), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetPlaySound(1), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundVolume(9), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundRepeat(3), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetSoundPause(2), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetReplayInterval(10), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetIrRepeat(1), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetIrDatabase(u"7"), CAlarmDB::kOk);
        EXPECT_EQ(alarm.SetBeamIr(1), CAlarmDB::kOk);
        alarm.Close();

        auto& registry = platform::card::database_registry::instance();
        registry.set_codebase_folder(alarm_tests::kAlarms);
        EXPECT_EQ(registry.create_codebase("7", std::vector<std::uint8_t>{0, 0, 0, 0}), kOk);
        platform::card::codebase_writer writer;
        EXPECT_EQ(writer.open("7"), kOk);
        EXPECT_EQ(writer.put_signal("Power", kPower, true), kOk);
        EXPECT_EQ(writer.put_signal("Volume", kVolume, true), kOk);
        EXPECT_EQ(writer.put_signal("Unused", kPower, true), kOk);
        ItemData named;
        named.SetDisplayName(u"TV on");  // a step's comment holds the line's name packed
        irvox::command_list steps;
        steps.add_reference("Power", 3, 1000, named.PackedName(), nullptr);
        steps.add_delay(1500);
        steps.add_reference("Gone", 3, 1000, "lost", nullptr);
        steps.add_reference("Volume", ItemData::kRepeatForDuration, 2500, nullptr, nullptr);
        EXPECT_EQ(steps.serialise_macro("Alarm"), 0);
        EXPECT_EQ(writer.put_macro("Alarm", steps.record()), kOk);
        EXPECT_EQ(writer.commit(), kOk);
        writer.close();
        return path;
    }

    // A sound the player takes: the sound form's OK refuses any other.
    static void WriteSound(const std::u16string& path) {
        testing_support::WavSpec spec;
        spec.data = testing_support::pattern_bytes(800, 3);
        const auto bytes = testing_support::wav_bytes(spec);
        ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
        ce::DWORD written = 0;
        ce::WriteFile(file, bytes.data(), static_cast<ce::DWORD>(bytes.size()), &written);
        ce::CloseHandle(file);
    }

    static std::vector<std::uint8_t> Bytes(const std::u16string& path) {
        std::vector<std::uint8_t> bytes;
        ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING);
        if (file == ce::INVALID_HANDLE_VALUE) return bytes;
        std::uint8_t buffer[4096];
        ce::DWORD read = 0;
        while (ce::ReadFile(file, buffer, sizeof buffer, &read) && read > 0) bytes.insert(bytes.end(), buffer, buffer + read);
        ce::CloseHandle(file);
        return bytes;
    }
};

TEST_F(AlarmForm, ANewAlarmOpensForEveryDayAtTheTimeNowAndIsSavedArmed) {
    set_time_format(u"HH:mm:ss");
    Start();
    Use(IDC_ADD, [](D& form) {
        EXPECT_EQ(form.GetDlgItem(IDC_CAPTION)->GetWindowText(), u"Alarm Options");
        EXPECT_TRUE(Checked(form, D::IDC_ALL));
        EXPECT_FALSE(Checked(form, D::IDC_ONCE));
        for (int id : {D::IDC_SUNDAY, 1017, 1018, 1019, 1020, 1021, D::IDC_SATURDAY}) EXPECT_TRUE(Checked(form, id)) << id;
        EXPECT_EQ(Text(form, D::IDC_HOUR), u"5");
        EXPECT_EQ(Text(form, D::IDC_MINUTE), u"0");
        EXPECT_FALSE(form.GetDlgItem(D::IDC_AMPM)->IsWindowVisible()) << "a 24-hour clock";
        EXPECT_FALSE(Enabled(form, D::IDC_BEAM_SETTINGS));
        EXPECT_FALSE(Enabled(form, D::IDC_SOUND_SETTINGS));
        EXPECT_FALSE(form.GetDlgItem(D::IDC_STOP)->IsWindowVisible());
        EXPECT_TRUE(form.GetDlgItem(D::IDC_DESCRIPTION)->widget()->hasFocus());

        std::u16string help;
        QTimer::singleShot(0, [&] {
            auto* page = dynamic_cast<CDialog*>(CWinApp::Foreground());
            ASSERT_NE(page, &form);
            help = page->GetDlgItem(IDC_CAPTION)->GetWindowText() + u": " + page->GetDlgItem(IDC_HELP_TEXT)->GetWindowText();
            page->EndDialog(framework::IDCANCEL);
        });
        Tap(form, IDC_HELP_BUTTON);
        EXPECT_EQ(help.rfind(u"Alarm Options: Description: what the alarm is for", 0), 0u) << "the help page of the form";
        ASSERT_EQ(CWinApp::Foreground(), &form);

        // Only blanks: the form says so and stays, with the description to be typed.
        Type(form, D::IDC_DESCRIPTION, u" \t ");
        Tap(form, D::IDC_HOUR);
        {
            framework::MessageBoxScript boxes;
            framework::Automation::Click(&form, framework::IDOK);
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].text, D::kNoDescription);
        }
        ASSERT_EQ(CWinApp::Foreground(), &form);
        EXPECT_TRUE(form.GetDlgItem(D::IDC_DESCRIPTION)->widget()->hasFocus());
        EXPECT_TRUE(AlarmEnumerator::FileNames(alarm_tests::kAlarms).empty());

        // No longer than the list and the reminder read back.
        Type(form, D::IDC_DESCRIPTION, std::u16string(250, u'x'));
        EXPECT_EQ(Text(form, D::IDC_DESCRIPTION).size(), 199u);
        Type(form, D::IDC_DESCRIPTION, u"  Wake up ");
        framework::Automation::Click(&form, framework::IDOK);
    });
    ASSERT_EQ(list().Count(), 1);
    EXPECT_EQ(list().Row(0)->description, u"  Wake up ") << "kept as typed";
    CAlarmDB alarm;
    ASSERT_EQ(alarm.Open(alarm_path(SelectedFile())), CAlarmDB::kOk);
    int hour = -1, minute = -1;
    ASSERT_EQ(alarm.GetAlarmTime(hour, minute), CAlarmDB::kOk);
    EXPECT_EQ(hour, 5);
    EXPECT_EQ(minute, 0);
    std::uint8_t value = 0;
    EXPECT_EQ(alarm.GetDays(value), CAlarmDB::kOk);
    EXPECT_EQ(value, 0x7F);
    EXPECT_EQ(alarm.GetActive(value), CAlarmDB::kOk);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(alarm.GetPlaySound(value), CAlarmDB::kOk);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(alarm.GetBeamIr(value), CAlarmDB::kOk);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(alarm.GetReplayInterval(value), CAlarmDB::kOk);
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(alarm.GetIrDatabase(nullptr, 0));
    EXPECT_FALSE(alarm.GetSoundFile(nullptr, 0));
    alarm.Close();
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-09 05:00:00") << "rescheduled";
}

struct DaysCase {
    const char* name;
    std::vector<int> taps;
    std::uint8_t days;
    bool all;
    bool once;
};
void PrintTo(const DaysCase& value, std::ostream* out) { *out << value.name; }

class DayButtons : public AlarmForm, public ::testing::WithParamInterface<DaysCase> {};

TEST_P(DayButtons, TheButtonsKeepAllAndOnceInStepAndGiveTheDays) {
    const DaysCase& days = GetParam();
    Start();
    Use(IDC_ADD, [&](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"days");
        for (int id : days.taps) Tap(form, id);
        EXPECT_EQ(Checked(form, D::IDC_ALL), days.all);
        EXPECT_EQ(Checked(form, D::IDC_ONCE), days.once);
        framework::Automation::Click(&form, framework::IDOK);
    });
    ASSERT_EQ(list().Count(), 1);
    EXPECT_EQ(list().Row(0)->days, days.days);
}

INSTANTIATE_TEST_SUITE_P(
    AlarmForm, DayButtons,
    ::testing::Values(DaysCase{"WeekdaysBySundayAndSaturdayOff", {D::IDC_SUNDAY, D::IDC_SATURDAY}, 0x1F, false, false},
                      DaysCase{"Once", {D::IDC_ONCE}, 0x00, false, true},
                      DaysCase{"LastDayOffMakesOnce", {D::IDC_ONCE, 1019, 1019}, 0x00, false, true},
                      DaysCase{"NoDayAndOnceOff", {D::IDC_ONCE, D::IDC_ONCE}, 0x00, false, false},
                      DaysCase{"SeventhDayMakesAll",
                               {D::IDC_ONCE, D::IDC_SUNDAY, 1017, 1018, 1019, 1020, 1021, D::IDC_SATURDAY},
                               0x7F, true, false},
                      DaysCase{"AllAfterOnce", {D::IDC_ONCE, D::IDC_ALL}, 0x7F, true, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct ClockFaceCase {
    const char* name;
    const char16_t* time_format;
    const char16_t* hour;
    const char16_t* minute;
    int spin_hour;  // steps of the spinner in the hour field
    const char16_t* shown_hour;
    const char16_t* marker;  // after the steps; empty on a 24-hour clock
    int saved_hour;
};
void PrintTo(const ClockFaceCase& value, std::ostream* out) { *out << value.name; }

class ClockFaces : public AlarmForm, public ::testing::WithParamInterface<ClockFaceCase> {};

TEST_P(ClockFaces, TheSpinnerStepsTheFocusedFieldRoundTheClock) {
    const ClockFaceCase& face = GetParam();
    set_time_format(face.time_format);
    Start();
    Use(IDC_ADD, [&](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"clock");
        Type(form, D::IDC_HOUR, face.hour);
        Type(form, D::IDC_MINUTE, face.minute);
        Tap(form, D::IDC_HOUR);
        // A digit typed into the tapped field replaces it, however full it was.
        framework::InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_KEYDOWN, '1', 0, 0});
        framework::InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_KEYUP, '1', 0, 0});
        EXPECT_EQ(Text(form, D::IDC_HOUR), u"1");
        Type(form, D::IDC_HOUR, face.hour);
        Tap(form, D::IDC_HOUR);
        Spin(form, face.spin_hour);
        EXPECT_EQ(Text(form, D::IDC_HOUR), face.shown_hour);
        if (*face.marker != u'\0') {
            EXPECT_EQ(Text(form, D::IDC_AMPM), face.marker);
        }
        // Round the minutes and back: the hour stays as it is.
        Tap(form, D::IDC_MINUTE);
        Spin(form, 1);
        Spin(form, -1);
        EXPECT_EQ(Text(form, D::IDC_MINUTE), face.minute);
        EXPECT_EQ(Text(form, D::IDC_HOUR), face.shown_hour);
        framework::Automation::Click(&form, framework::IDOK);
    });
    ASSERT_EQ(list().Count(), 1);
    EXPECT_EQ(list().Row(0)->hour, face.saved_hour);
}

INSTANTIATE_TEST_SUITE_P(
    AlarmForm, ClockFaces,
    ::testing::Values(
        ClockFaceCase{"MidnightIsHourZero", u"h:mm:ss tt", u"12", u"5", 0, u"12", u"am", 0},
        ClockFaceCase{"ElevenToTwelveTurnsAmToPm", u"h:mm:ss tt", u"11", u"0", 1, u"12", u"pm", 12},
        ClockFaceCase{"BackFromMidnightIsElevenPm", u"h:mm:ss tt", u"12", u"59", -1, u"11", u"pm", 23},
        ClockFaceCase{"TwelveToOneKeepsTheMarker", u"h:mm:ss tt", u"12", u"0", 1, u"1", u"am", 1},
        ClockFaceCase{"ThirteenTypedOnTwelveHoursIsOne", u"h:mm:ss tt", u"13", u"0", 0, u"1", u"am", 1},
        ClockFaceCase{"TwentyFourHoursWrapForward", u"HH:mm:ss", u"23", u"59", 1, u"0", u"", 0},
        ClockFaceCase{"TwentyFourHoursWrapBack", u"HH:mm:ss", u"0", u"0", -1, u"23", u"", 23}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(AlarmForm, ClockFacesStartFromTheMarkerTheLoadedHourGives) {
    set_time_format(u"h:mm:ss tt");
    write(3, {.hour = 0, .minute = 5, .description = u"midnight"});
    write(4, {.hour = 12, .minute = 5, .description = u"noon"});
    Start();
    for (const auto& [row, hour, marker] : {std::tuple{0, u"12", u"am"}, std::tuple{1, u"12", u"pm"}}) {
        list().Select(row);
        Use(IDC_EDIT, [&](D& form) {
            EXPECT_TRUE(form.GetDlgItem(D::IDC_AMPM)->IsWindowVisible());
            EXPECT_EQ(Text(form, D::IDC_HOUR), hour);
            EXPECT_EQ(Text(form, D::IDC_MINUTE), u"5");
            EXPECT_EQ(Text(form, D::IDC_AMPM), marker);
            // A tap on the marker crosses noon, a second one back.
            Tap(form, D::IDC_AMPM);
            EXPECT_EQ(Text(form, D::IDC_AMPM), std::u16string(marker) == u"am" ? u"pm" : u"am");
            Tap(form, D::IDC_AMPM);
            EXPECT_EQ(Text(form, D::IDC_AMPM), marker);
            framework::Automation::Click(&form, framework::IDOK);
        });
    }
    EXPECT_EQ(list().Row(0)->hour, 0);
    EXPECT_EQ(list().Row(1)->hour, 12);
}

TEST_F(AlarmForm, AnEditShowsTheAlarmArmsItAndRebuildsItsCodebaseFromTheList) {
    const auto path = WriteFullAlarm();
    Start();
    Use(IDC_EDIT, [](D& form) {
        EXPECT_EQ(Text(form, D::IDC_DESCRIPTION), u"Radio");
        EXPECT_EQ(Text(form, D::IDC_HOUR), u"6");
        EXPECT_EQ(Text(form, D::IDC_MINUTE), u"30");
        EXPECT_FALSE(Checked(form, D::IDC_SUNDAY));
        EXPECT_TRUE(Checked(form, D::IDC_MONDAY));
        EXPECT_FALSE(Checked(form, D::IDC_SATURDAY));
        EXPECT_FALSE(Checked(form, D::IDC_ALL));
        EXPECT_TRUE(Checked(form, D::IDC_PLAY_SOUND));
        EXPECT_TRUE(Enabled(form, D::IDC_SOUND_SETTINGS));
        EXPECT_TRUE(Checked(form, D::IDC_BEAM));
        EXPECT_TRUE(Enabled(form, D::IDC_BEAM_SETTINGS));
        const AlarmOptions& options = form.Options();
        EXPECT_EQ(options.sound_path, u"\\My Documents\\ring.wav");
        EXPECT_EQ(options.volume, 9);
        EXPECT_EQ(options.play_count, 3);
        EXPECT_EQ(options.pause_seconds, 2);
        EXPECT_EQ(options.replay_minutes, 10);
        EXPECT_EQ(options.beam_on_repeats, 1);
        ASSERT_EQ(options.commands.size(), 3u) << "the step whose signal is gone is dropped";
        EXPECT_EQ(options.commands[0].DisplayName(), u"TV on");
        EXPECT_EQ(options.commands[1].DisplayName(), u"Pause 1.5s");
        EXPECT_EQ(options.commands[2].DisplayName(), u"Beam Infrared");

        // The sound stays chosen, just not played.
        Tap(form, D::IDC_PLAY_SOUND);
        EXPECT_FALSE(Enabled(form, D::IDC_SOUND_SETTINGS));
        Type(form, D::IDC_HOUR, u"7");
        framework::Automation::Click(&form, framework::IDOK);
    });
    EXPECT_EQ(list().Row(0)->hour, 7);
    EXPECT_EQ(list().Row(0)->active, 1);
    EXPECT_EQ(list().Row(0)->has_sound, 0);
    EXPECT_EQ(list().Row(0)->has_infrared, 1);
    EXPECT_EQ(active_of(path), 1);
    EXPECT_FALSE(has_refire(path)) << "a pending repeat belongs to the alarm as it was";
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 07:30:00");
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
        std::u16string sound;
        EXPECT_TRUE(alarm.ReadSoundFile(sound));
        EXPECT_EQ(sound, u"\\My Documents\\ring.wav");
        std::uint8_t play = 1;
        std::uint16_t volume = 0, times = 0, pause = 0;
        EXPECT_EQ(alarm.GetPlaySound(play), CAlarmDB::kOk);
        EXPECT_EQ(play, 0);
        EXPECT_EQ(alarm.GetSoundVolume(volume), CAlarmDB::kOk);
        EXPECT_EQ(alarm.GetSoundRepeat(times), CAlarmDB::kOk);
        EXPECT_EQ(alarm.GetSoundPause(pause), CAlarmDB::kOk);
        EXPECT_EQ(std::tuple(volume, times, pause), std::tuple(9, 3, 2));
        std::u16string database;
        EXPECT_TRUE(alarm.ReadIrDatabase(database));
        EXPECT_EQ(database, u"7");
    }
    platform::card::codebase base;
    ASSERT_EQ(base.open("7"), kOk);
    EXPECT_EQ(base.signal_names(), (std::vector<std::string>{"IR1", "IR2"})) << "from scratch, in list order";
    const ItemDataArr stored = CommandListCodebase::Load(base);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].SignalData().durations, kPower.durations);
    EXPECT_EQ(stored[0].DisplayName(), u"TV on");
    EXPECT_EQ(stored[1].pauseMs, 1500);
    EXPECT_EQ(stored[2].SignalData().durations, kVolume.durations);
    EXPECT_EQ(stored[2].repeatMode, ItemData::kRepeatForDuration);
    EXPECT_EQ(stored[2].durationMs, 2500);
    EXPECT_FALSE(exists(alarm_path(u"7.pdb.~old")));
    EXPECT_FALSE(exists(alarm_path(u"7.~kv")));
}

TEST_F(AlarmForm, ASoundFileThatIsGoneAndAnEmptyCommandListAreNotSavedNorLetTheAlarmRingSilent) {
    const auto path = write(2, {.hour = 8, .description = u"no sound"});
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetSoundFile(u"\\My Documents\\gone.wav"), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetPlaySound(1), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetSoundVolume(9), CAlarmDB::kOk);
    }
    touch(alarm_path(u"2.pdb"));
    Start();
    framework::MessageBoxScript boxes;
    Use(IDC_EDIT, [&](D& form) {
        EXPECT_TRUE(form.Options().sound_path.empty());
        Tap(form, D::IDC_BEAM);
        EXPECT_TRUE(Enabled(form, D::IDC_BEAM_SETTINGS));
        // Play sound is still ticked, over no sound: it would ring silent.
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, u"The sound \\My Documents\\gone.wav is gone (deleted, or on a card taken out). " +
                                             std::u16string(SoundRefusal::kNoSoundChosen))
            << "the gone file is named";
        Tap(form, D::IDC_PLAY_SOUND);
        // Beaming an empty list with no sound would ring silent too.
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text, D::kNoSignalsChosen);
        Tap(form, D::IDC_BEAM);
        framework::Automation::Click(&form, framework::IDOK);
    });
    EXPECT_EQ(boxes.Shown().size(), 2u);
    CAlarmDB alarm;
    ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
    std::uint8_t flag = 1;
    EXPECT_EQ(alarm.GetBeamIr(flag), CAlarmDB::kOk);
    EXPECT_EQ(flag, 0) << "nothing to beam";
    EXPECT_EQ(alarm.GetPlaySound(flag), CAlarmDB::kOk);
    EXPECT_EQ(flag, 0) << "nothing to play";
    EXPECT_FALSE(alarm.GetSoundFile(nullptr, 0));
    std::uint16_t volume = 0;
    EXPECT_EQ(alarm.GetSoundVolume(volume), CAlarmDB::kAbsent);
    EXPECT_FALSE(alarm.GetIrDatabase(nullptr, 0));
    EXPECT_FALSE(exists(alarm_path(u"2.pdb"))) << "the alarm's old codebase goes";
}

TEST_F(AlarmForm, ACopyEditedAndSavedAtTheTimeOfItsArmedOriginalIsRefusedAsTheListRefusesIt) {
    write(3, {.hour = 7, .minute = 0, .description = u"Wake up"});
    Start();
    list().Select(0);
    view().SendMessage(framework::WM_COMMAND, framework::MAKEWPARAM(static_cast<unsigned>(IDC_COPY), 0), 0);
    ASSERT_EQ(list().Count(), 2);
    const std::u16string copy = SelectedFile();
    ASSERT_NE(copy, u"3.kivo");
    ASSERT_EQ(active_of(alarm_path(copy)), 0) << "a copy is made disarmed";

    framework::MessageBoxScript boxes;
    Use(IDC_EDIT, [&](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"Wake up, weekends");
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, ArmedTime::kRefusal);
        EXPECT_EQ(active_of(alarm_path(copy)), 0) << "nothing written";
        // At a time of its own it is armed beside its original, and both ring.
        Type(form, D::IDC_HOUR, u"8");
        framework::Automation::Click(&form, framework::IDOK);
    });
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(active_of(alarm_path(copy)), 1);
    EXPECT_EQ(active_of(alarm_path(u"3.kivo")), 1);
    EXPECT_EQ(list().Row(list().Selected())->description, u"Wake up, weekends");
    EXPECT_EQ(list().Row(list().Selected())->hour, 8);

    // Its own time is no clash: the original saved unchanged stays as it was, armed.
    list().Select(0);
    Use(IDC_EDIT, [](D& form) { framework::Automation::Click(&form, framework::IDOK); });
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(active_of(alarm_path(u"3.kivo")), 1);
}

TEST_F(AlarmForm, EditOfAnAlarmThatCannotBeReadNowSaysSoAndOpensNothing) {
    const auto path = WriteFullAlarm();
    const auto before = Bytes(path);
    const auto codebase_before = Bytes(alarm_path(u"7.pdb"));
    Start();
    framework::MessageBoxScript boxes;
    // The form opened on defaults would be saved over the alarm: OK is what a user taps.
    bool opened = false;
    const auto edit = [&] {
        QTimer::singleShot(0, [&] {
            auto* form = dynamic_cast<D*>(CWinApp::Foreground());
            if (form == nullptr) return;
            opened = true;
            framework::Automation::Click(form, framework::IDOK);
            if (CWinApp::Foreground() == form) framework::Automation::Click(form, framework::IDCANCEL);
        });
        view().SendMessage(framework::WM_COMMAND, framework::MAKEWPARAM(static_cast<unsigned>(IDC_EDIT), 0), 0);
        RunQueued();
    };

    // Another program inside the store beyond the wait.
    {
        std::promise<void> held, release;
        std::thread holder([&] {
            AlarmStoreLock lock;
            EXPECT_TRUE(lock.Lock());
            held.set_value();
            release.get_future().wait();
        });
        held.get_future().wait();
        edit();
        release.set_value();
        holder.join();
    }
    // A damaged file.
    std::filesystem::resize_file(host_path("Program Files/KIVO/Alarms/7.kivo"), 40);
    const auto damaged = Bytes(path);
    edit();

    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    for (const auto& box : boxes.Shown()) EXPECT_EQ(box.text, u"The alarm cannot be read now. Try again in a moment.");
    EXPECT_EQ(Bytes(path), damaged);
    EXPECT_EQ(Bytes(alarm_path(u"7.pdb")), codebase_before) << "the codebase is kept";
    EXPECT_NE(before, damaged);
}

TEST_F(AlarmForm, AnEditedAlarmIsRegisteredEvenWhenItsRowCannotBeReadBack) {
    write(3, {.hour = 7, .description = u"early"});
    Start();
    Use(IDC_EDIT, [](D& form) {
        Type(form, D::IDC_HOUR, u"6");
        framework::Automation::Click(&form, framework::IDOK);
        // Before the list reads the row back, another program leaves the file without the
        // description the row needs; the alarm itself is saved and armed at 6:00.
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(alarm_path(u"3.kivo")), CAlarmDB::kOk);
        ASSERT_EQ(alarm.RemoveTag(AlarmTag::Description), CAlarmDB::kOk);
    });
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 06:00:00");
}

TEST_F(AlarmForm, CancelWritesNothing) {
    const auto path = WriteFullAlarm();
    const auto before = Bytes(path);
    const auto codebase_before = Bytes(alarm_path(u"7.pdb"));
    Start();
    Use(IDC_EDIT, [](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"changed");
        Tap(form, D::IDC_ONCE);
        framework::Automation::Click(&form, framework::IDCANCEL);
    });
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Bytes(alarm_path(u"7.pdb")), codebase_before);
    EXPECT_EQ(list().Row(0)->description, u"Radio");
}

TEST_F(AlarmForm, AnEditThatCannotBeWrittenLeavesTheAlarmAndItsCodebaseAsTheyWere) {
    const auto path = WriteFullAlarm();
    const auto before = Bytes(path);
    const auto codebase_before = Bytes(alarm_path(u"7.pdb"));
    // Where the alarm's records, and then its codebase, would be staged: taken.
    std::filesystem::create_directories(host_path("Program Files/KIVO/Alarms/7.~kv.~tmp"));
    Start();
    framework::MessageBoxScript boxes;
    Use(IDC_EDIT, [&](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"changed");
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        EXPECT_TRUE(boxes.Shown().empty());

        std::filesystem::remove(host_path("Program Files/KIVO/Alarms/7.~kv.~tmp"));
        std::filesystem::create_directories(host_path("Program Files/KIVO/Alarms/7.~db"));
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, D::kNoMacroDatabase);
    });
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Bytes(alarm_path(u"7.pdb")), codebase_before);
    EXPECT_FALSE(exists(alarm_path(u"7.~kv")));
    EXPECT_FALSE(exists(alarm_path(u"7.pdb.~old")));
    EXPECT_EQ(list().Row(0)->description, u"Radio");
}

TEST_F(AlarmForm, ANewAlarmThatCannotBeWrittenLeavesNoFile) {
    Start();
    framework::MessageBoxScript boxes;
    Use(IDC_ADD, [&](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"never");
        // The store is full: whichever number the alarm takes, its records find no room
        // once its file is made.
        const auto now = static_cast<std::int32_t>(ce::GetTickCount());
        for (std::int32_t number = now; number < now + 5000; ++number)
            std::filesystem::create_directories(host_path("Program Files/KIVO/Alarms/" + std::to_string(number) + ".~kv.~tmp"));
        framework::Automation::Click(&form, framework::IDOK);
        EXPECT_EQ(CWinApp::Foreground(), &form) << "the form stays";
        EXPECT_TRUE(boxes.Shown().empty());
    });
    EXPECT_EQ(list().Count(), 0);
    for (const auto& entry : std::filesystem::directory_iterator(host_path("Program Files/KIVO/Alarms")))
        EXPECT_TRUE(entry.is_directory()) << entry.path() << " was left behind";
}

// Debian's Palm::PDB (libpalm-perl) reading a file of the device: "name …", "type …",
// "creator …", then one "record HEX" per record.
std::vector<std::string> palm_reader_lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    const std::string command = std::string("perl '") + PALM_RECORDS + "' '" + file.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return lines;
    char buffer[8192];
    std::string line;
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        line += buffer;
        if (line.back() != '\n') continue;
        line.pop_back();
        lines.push_back(line);
        line.clear();
    }
    pclose(pipe);
    return lines;
}

std::string hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) text += {kDigits[byte >> 4], kDigits[byte & 15]};
    return text;
}

TEST_F(AlarmForm, TheFilesTheFormWritesReadInAnIndependentPalmDatabaseReader) {
    const auto path = WriteFullAlarm();
    Start();
    Use(IDC_EDIT, [](D& form) {
        Type(form, D::IDC_DESCRIPTION, u"TV");
        Type(form, D::IDC_MINUTE, u"45");
        framework::Automation::Click(&form, framework::IDOK);
    });
    const auto alarm = palm_reader_lines(host_path("Program Files/KIVO/Alarms/7.kivo"));
    ASSERT_GE(alarm.size(), 3u) << ::testing::PrintToString(alarm);
    EXPECT_EQ(alarm[0], "name 7");
    EXPECT_EQ(alarm[1], "type AInf");
    EXPECT_EQ(alarm[2], "creator KIVO");
    const std::vector<std::string> records(alarm.begin() + 3, alarm.end());
    using ::testing::Contains;
    using ::testing::Not;
    using ::testing::StartsWith;
    EXPECT_THAT(records, Contains("record 0032540056000000")) << "Description: tag 50, UTF-16 \"TV\"";
    EXPECT_THAT(records, Contains("record 0033062d")) << "AlarmTime 6:45";
    EXPECT_THAT(records, Contains("record 00390100")) << "Active";
    EXPECT_THAT(records, Contains(StartsWith("record 003a")).Times(0)) << "no RefireTime";
    EXPECT_THAT(records, Contains("record 003b3700")) << "IrDatabase \"7\"";
    EXPECT_THAT(records, Contains("record 003d0100")) << "BeamIr";
    EXPECT_THAT(records, Contains("record 0034" + hex(std::vector<std::uint8_t>{0x1F, 0}))) << "Days";

    const auto codebase = palm_reader_lines(host_path("Program Files/KIVO/Alarms/7.pdb"));
    ASSERT_GE(codebase.size(), 3u) << ::testing::PrintToString(codebase);
    EXPECT_EQ(codebase[0], "name 7");
    EXPECT_EQ(codebase[1], "type Alr1");
    EXPECT_EQ(codebase[2], "creator xIrv");
    platform::card::codebase base;
    ASSERT_EQ(base.open("7"), kOk);
    ASSERT_EQ(base.record_count(), 4) << "the header, IR1, IR2 and the macro";
    ASSERT_EQ(codebase.size(), 3u + 4u);
    for (int index = 0; index < base.record_count(); ++index)
        EXPECT_EQ(codebase[3 + index], "record " + hex(base.record(index))) << index;
    EXPECT_EQ(base.find_signal("IR1"), 1);
    EXPECT_EQ(base.find_signal("IR2"), 2);
    EXPECT_EQ(base.find_macro("Alarm"), 3);
}

// A sound of `seconds` in "\My Documents"; its device path.
std::u16string put_sound(const std::string& name, int seconds) {
    testing_support::WavSpec spec;
    spec.data = testing_support::pattern_bytes(static_cast<std::size_t>(spec.rate) * seconds, 7);
    const auto bytes = testing_support::wav_bytes(spec);
    const std::u16string path = u"\\My Documents\\" + std::u16string(name.begin(), name.end());
    ce::CreateDirectoryW(u"\\My Documents");
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
    ce::DWORD written = 0;
    ce::WriteFile(file, bytes.data(), static_cast<ce::DWORD>(bytes.size()), &written);
    ce::CloseHandle(file);
    return path;
}

std::vector<host::CaptureEntry> captured_plays() {
    std::vector<host::CaptureEntry> plays;
    for (const auto& line : host::CaptureLog::lines())
        if (const auto entry = host::CaptureLog::parse(line)) plays.push_back(*entry);
    return plays;
}

TEST_F(AlarmForm, TheSubFormsTakeTheValuesAndGiveThemBackOnlyWithOk) {
    WriteFullAlarm();
    Start();
    Use(IDC_EDIT, [](D& form) {
        for (const int answer : {framework::IDCANCEL, framework::IDOK}) {
            int given_count = 0;
            QTimer::singleShot(0, [&] {
                auto* sound = dynamic_cast<CSetSoundDlg*>(CWinApp::Foreground());
                ASSERT_NE(sound, nullptr);
                RunQueued();
                given_count = sound->GetPlayCount();
                auto* count = dynamic_cast<CComboBox*>(sound->GetDlgItem(CSetSoundDlg::IDC_PLAY_COUNT));
                count->SetCurSel(4);  // "5"
                framework::Automation::Click(sound, answer);
            });
            Tap(form, D::IDC_SOUND_SETTINGS);
            EXPECT_EQ(given_count, 3);
            EXPECT_EQ(form.Options().play_count, answer == framework::IDOK ? 5 : 3);
            EXPECT_EQ(form.Options().sound_path, u"\\My Documents\\ring.wav");
        }
        bool more_opened = false;
        QTimer::singleShot(0, [&] {
            auto* more = dynamic_cast<CMoreOptionsDlg*>(CWinApp::Foreground());
            ASSERT_NE(more, nullptr);
            RunQueued();
            more_opened = more->GetReplayMinutes() == 10 && more->GetBeamOnRepeats() == 1;
            framework::Automation::Click(more, framework::IDOK);
        });
        Tap(form, D::IDC_MORE_OPTIONS);
        EXPECT_TRUE(more_opened);
        framework::Automation::Click(&form, framework::IDOK);
    });
    CAlarmDB alarm;
    ASSERT_EQ(alarm.Open(alarm_path(u"7.kivo")), CAlarmDB::kOk);
    std::uint16_t times = 0;
    EXPECT_EQ(alarm.GetSoundRepeat(times), CAlarmDB::kOk);
    EXPECT_EQ(times, 5);
}

TEST_F(AlarmForm, TestActionsPlaysTheSoundAndCancelStopsIt) {
    const auto path = WriteLongSoundAlarm();
    const auto before = Bytes(path);
    Start();
    Use(IDC_EDIT, [](D& form) {
        Tap(form, D::IDC_TEST_ACTIONS);
        ASSERT_TRUE(form.IsTesting());
        EXPECT_TRUE(form.GetDlgItem(D::IDC_STOP)->IsWindowVisible());
        EXPECT_FALSE(form.GetDlgItem(D::IDC_TEST_ACTIONS)->IsWindowVisible());
        EXPECT_FALSE(Enabled(form, D::IDC_DESCRIPTION));
        EXPECT_FALSE(Enabled(form, D::IDC_SOUND_SETTINGS));
        EXPECT_TRUE(Enabled(form, framework::IDCANCEL));
        RunUntil([] { return false; }, std::chrono::milliseconds(300));
        framework::Automation::Click(&form, framework::IDCANCEL);
    });
    ASSERT_TRUE(RunUntil([] { return !captured_plays().empty(); }, std::chrono::seconds(5))) << "the play was cut short";
    RunUntil([] { return false; }, std::chrono::milliseconds(1500));
    const auto plays = captured_plays();
    ASSERT_EQ(plays.size(), 1u) << "no play after the form has gone";
    EXPECT_LT(plays[0].bytes, 3u * 8000u) << "stopped before its end";
    EXPECT_EQ(Bytes(path), before) << "cancelled: nothing written";
}

// The program's threads: a player is one of them for as long as it lives.
std::size_t thread_count() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                                  std::filesystem::directory_iterator()));
}

TEST_F(AlarmForm, AfterTestActionsTheSoundFormTakesOverTheProgramsOnePlayer) {
    WriteLongSoundAlarm();
    Start();
    Use(IDC_EDIT, [](D& form) {
        Tap(form, D::IDC_TEST_ACTIONS);
        ASSERT_TRUE(form.IsTesting());
        Tap(form, D::IDC_STOP);
        ASSERT_FALSE(form.IsTesting());
        const std::size_t with_one_player = thread_count();
        std::size_t in_sound_form = 0;
        QTimer::singleShot(0, [&] {
            auto* sound_form = dynamic_cast<CSetSoundDlg*>(CWinApp::Foreground());
            ASSERT_NE(sound_form, nullptr);
            RunQueued();
            in_sound_form = thread_count();
            framework::Automation::Click(sound_form, framework::IDCANCEL);
        });
        Tap(form, D::IDC_SOUND_SETTINGS);
        EXPECT_EQ(in_sound_form, with_one_player) << "a second player while the sound form is open";
        // The alarm form makes a player again for its next test.
        Tap(form, D::IDC_TEST_ACTIONS);
        EXPECT_TRUE(form.IsTesting());
        framework::Automation::Click(&form, framework::IDCANCEL);
    });
}

TEST_F(AlarmForm, TestActionsWithCommandsAndNoPortAsksForOneAndWithNothingTickedSaysSo) {
    WriteFullAlarm();
    Start();
    framework::MessageBoxScript boxes;
    Use(IDC_EDIT, [&](D& form) {
        Tap(form, D::IDC_TEST_ACTIONS);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, D::kNoPort);
        EXPECT_FALSE(form.IsTesting()) << "nothing plays either";
        EXPECT_FALSE(exists(alarm_path(u"testIR.pdb")));
        Tap(form, D::IDC_BEAM);
        Tap(form, D::IDC_PLAY_SOUND);
        Tap(form, D::IDC_TEST_ACTIONS);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text, D::kNothingToTest);
        EXPECT_FALSE(form.IsTesting());
        framework::Automation::Click(&form, framework::IDCANCEL);
    });
}

}  // namespace
}  // namespace kivo_tests
