// The alarm list as a person uses it: what it loads and in which order, arming and
// disarming by the check box, copying, deleting, the selection kept across runs, the
// change signal from Alert, an edited alarm finding its place, and the clock.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <algorithm>

#include "alarms/ActiveIndex.h"
#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/CAlarmDB.h"
#include "ce/Notify.h"
#include "ce/Registry.h"
#include "forms/FormIds.h"
#include "framework/Automation.h"
#include "framework/CWinApp.h"
#include "framework/MessageBox.h"
#include "framework/WindowMessages.h"
#include "host/Device.h"
#include "host/screen/ScreenSettings.h"
#include "KivoHandheld.h"
#include "kivo/CAboutDlg.h"
#include "kivo/CDeleteAlarmDlg.h"
#include "kivo/CMainFrame.h"
#include "kivo/KivoIds.h"
#include "kivo/ListPalette.h"
#include "ChildProcess.h"

namespace kivo_tests {
namespace {

using ::testing::ElementsAre;

constexpr const char16_t* kSameTime = u"You cannot make active two alarms with the same alarm time!";

class AlarmList : public KivoHandheld {
protected:
    void SetUp() override {
        KivoHandheld::SetUp();
        set_clock("Europe/Berlin", alarm_tests::local_time(2026, 12, 8, 5, 0));
    }
    int row_of(const std::u16string& description) const {
        const auto all = rows();
        const auto found = std::find(all.begin(), all.end(), description);
        return found == all.end() ? -1 : static_cast<int>(found - all.begin());
    }
    void Command(int id) { view().SendMessage(framework::WM_COMMAND, framework::MAKEWPARAM(static_cast<unsigned>(id), 0), 0); }
    static void ForgetRegistrations() {
        ce::CeRunAppAtTime(alarm_tests::kWake, nullptr);
        ce::CeRunAppAtEvent(alarm_tests::kWake, 0);
        ASSERT_TRUE(registrations().empty());
    }
};

TEST_F(AlarmList, RowsFollowTheTimeAndAlarmsOfOneTimeKeepTheStoresOrder) {
    for (int number : {21, 5, 13}) write(number, {.hour = 7, .description = u"seven " + std::u16string(1, u'A' + number % 26)});
    write(8, {.hour = 6, .minute = 45, .description = u"quarter to"});
    write(2, {.hour = 23, .minute = 59, .description = u"late"});
    {
        CAlarmDB nameless;  // a file without a description is no alarm the list can show
        ASSERT_EQ(nameless.Create(std::u16string(alarm_tests::kAlarms) + u"30.kivo"), CAlarmDB::kOk);
        ASSERT_EQ(nameless.SetAlarmTime(6, 0), CAlarmDB::kOk);
    }
    std::vector<std::u16string> sevens;
    for (const auto& name : AlarmEnumerator::FileNames(alarm_tests::kAlarms)) {
        const int number = std::stoi(std::string(name.begin(), name.end()));
        if (number == 21 || number == 5 || number == 13) sevens.push_back(u"seven " + std::u16string(1, u'A' + number % 26));
    }
    Start();
    EXPECT_THAT(rows(), ElementsAre(u"quarter to", sevens[0], sevens[1], sevens[2], u"late"));
    EXPECT_EQ(list().Selected(), 0) << "no selection stored yet: the first row";
    EXPECT_EQ(AlarmChangeMarker::Read(std::u16string(alarm_tests::kAlarms) + u"21.kivo"), AlarmChangeMarker::State::seen);
}

TEST_F(AlarmList, TheCheckBoxArmsAndDisarmsButNeverTwoAlarmsOfOneTime) {
    const auto armed = write(1, {.hour = 7, .description = u"armed", .refire = true});
    const auto twin = write(2, {.hour = 7, .description = u"twin", .active = 0});
    const auto free = write(3, {.hour = 8, .description = u"free", .active = 0});
    write(4, {.hour = 8, .description = u"free twin", .active = 0});
    Start();
    ASSERT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 07:01:00") << "its pending repeat";

    framework::MessageBoxScript boxes;
    TapCheckBox(row_of(u"twin"));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, kSameTime);
    EXPECT_EQ(active_of(twin), 0);
    EXPECT_EQ(list().Row(row_of(u"twin"))->active, 0);

    TapCheckBox(row_of(u"free"));  // its twin is not armed: allowed
    EXPECT_EQ(active_of(free), 1);
    EXPECT_EQ(list().Row(row_of(u"free"))->active, 1);

    // Disarming drops the pending repeat too, and the wake-up moves to the next armed alarm.
    TapCheckBox(row_of(u"armed"));
    EXPECT_EQ(active_of(armed), 0);
    EXPECT_FALSE(has_refire(armed));
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 08:00:00");
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(list().Selected(), 0) << "a tap on a check box does not select";

    TapCheckBox(row_of(u"twin"));  // now the only one of its time
    EXPECT_EQ(active_of(twin), 1);
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 07:00:00");
}

TEST_F(AlarmList, ACopyIsDisarmedAndGoesAfterTheLastAlarmOfItsTime) {
    write(1, {.hour = 6, .description = u"early"});
    write(2, {.hour = 7, .description = u"seven"});
    write(3, {.hour = 7, .description = u"seven too", .active = 0});
    write(4, {.hour = 8, .description = u"late"});
    Start();
    TapList(150, row_of(u"seven") * list().RowHeight() + 20);
    ASSERT_EQ(list().Selected(), row_of(u"seven"));
    ForgetRegistrations();

    Command(IDC_COPY);
    ASSERT_EQ(list().Count(), 5);
    EXPECT_EQ(rows()[3], u"seven");
    EXPECT_EQ(list().Selected(), 3);
    const CAlarmItem& copy = *list().Row(3);
    EXPECT_EQ(copy.active, 0);
    EXPECT_NE(copy.file_name, u"2.kivo");
    EXPECT_EQ(active_of(std::u16string(alarm_tests::kAlarms) + copy.file_name), 0);
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 06:00:00") << "rescheduled";
}

TEST_F(AlarmList, ALongListScrollsUnderTheStylusAndTapsHitTheRowsShown) {
    for (int hour = 0; hour < 20; ++hour)
        write(hour + 1, {.hour = hour, .description = u"at " + std::u16string(1, u'a' + hour), .active = 0});
    Start();
    const int height = list().RowHeight();
    DragList(150, 2 * height + 10, 10);  // two rows up
    EXPECT_EQ(list().FirstVisible(), 2);
    EXPECT_EQ(list().Selected(), 2) << "the row under the stylus as it came down";
    TapCheckBox(0);
    EXPECT_EQ(list().Row(2)->active, 1);
    EXPECT_EQ(active_of(std::u16string(alarm_tests::kAlarms) + u"3.kivo"), 1);

    CRect area;
    list().GetClientRect(&area);
    TapList(area.right - 2, area.bottom - 1);  // the foot of the bar: the end of the list
    const int shown = list().Count() - list().FirstVisible();
    ASSERT_GE(shown, 1);
    ASSERT_LE(shown * height, area.bottom + height);
    TapCheckBox(shown - 1);
    EXPECT_EQ(list().Row(19)->active, 1);
    EXPECT_EQ(active_of(std::u16string(alarm_tests::kAlarms) + u"20.kivo"), 1);
}

TEST_F(AlarmList, TheMenusOfferWhatIsThereAndSayWhatIsNotYet) {
    Start();
    CMainFrame& frame = *app_->Frame();
    EXPECT_FALSE(frame.ChooseMenuItem(ID_WELCOME)) << "greyed without Splash.exe";
    touch(u"\\Program Files\\KIVO\\Splash.exe");
    frame.ChooseMenuItem(ID_WELCOME);
    EXPECT_TRUE(frame.IsMenuItemEnabled(ID_WELCOME));

    framework::MessageBoxScript boxes;
    // Infrared Setup is the port form; cancelling it stores nothing.
    std::u16string port_form;
    QTimer::singleShot(0, [&] {
        CWnd* form = CWinApp::Foreground();
        port_form = form->GetDlgItem(IDC_CAPTION)->GetWindowText();
        form->PostMessage(ce::WM_CLOSE);
    });
    EXPECT_TRUE(frame.ChooseMenuItem(ID_INFRARED_SETUP));
    EXPECT_EQ(port_form, u"Select COM Port");
    EXPECT_TRUE(boxes.Shown().empty());
    std::u16string opened;
    QTimer::singleShot(0, [&] {
        CWnd* form = CWinApp::Foreground();
        opened = form->GetDlgItem(IDC_CAPTION)->GetWindowText();
        framework::Automation::Click(form, framework::IDCANCEL);
    });
    Command(IDC_ADD);
    EXPECT_EQ(opened, u"Alarm Options") << "Add opens the alarm form";
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(list().Count(), 0) << "cancelled: nothing added";

    std::u16string about;
    QTimer::singleShot(0, [&] {
        CWnd* form = CWinApp::Foreground();
        about = form->GetDlgItem(CAboutDlg::IDC_NAME)->GetWindowText() + u" " +
                form->GetDlgItem(CAboutDlg::IDC_VERSION)->GetWindowText();
        framework::Automation::Click(form, framework::IDOK);
    });
    EXPECT_TRUE(frame.ChooseMenuItem(ID_APP_ABOUT));
    EXPECT_EQ(about, u"KIVO " + CAboutDlg::VersionText());
    EXPECT_EQ(CWinApp::Foreground(), &frame);
}

struct DeleteCase {
    const char* name;
    int button;
    bool files_stay;
    int active_after;
    std::optional<std::string> wake_after;
};
void PrintTo(const DeleteCase& value, std::ostream* out) { *out << value.name; }


class DeleteAnswers : public AlarmList, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteAnswers, TheConfirmationDecidesWhatHappensToTheAlarm) {
    const DeleteCase& answer = GetParam();
    write(1, {.hour = 6, .description = u"early", .active = 0});
    const auto doomed = write(2, {.hour = 7, .description = u"doomed"});
    const std::u16string database = std::u16string(alarm_tests::kAlarms) + u"2.pdb";
    touch(database);
    Start();
    list().Select(1);
    ASSERT_EQ(alarm_tests::InstalledHandheld::registered_time(), "2026-12-08 07:00:00");

    std::u16string asked;
    QTimer::singleShot(0, [&] {
        CWnd* form = CWinApp::Foreground();
        asked = form->GetDlgItem(CDeleteAlarmDlg::IDC_WARNING)->GetWindowText() + u" " +
                form->GetDlgItem(CDeleteAlarmDlg::IDC_SUGGESTION)->GetWindowText();
        framework::Automation::Click(form, answer.button);
    });
    Command(IDC_DELETE);
    EXPECT_EQ(asked, u"All infrared signals learned for this alarm will be lost! Maybe you want just to turn alarm off?");
    EXPECT_EQ(ce::GetFileAttributesW(doomed.c_str()) != ce::INVALID_FILE_ATTRIBUTES, answer.files_stay);
    EXPECT_EQ(ce::GetFileAttributesW(database.c_str()) != ce::INVALID_FILE_ATTRIBUTES, answer.files_stay);
    EXPECT_EQ(list().Count(), answer.files_stay ? 2 : 1);
    if (answer.files_stay) {
        EXPECT_EQ(active_of(doomed), answer.active_after);
        EXPECT_EQ(list().Row(1)->active, answer.active_after);
    }
    EXPECT_EQ(alarm_tests::InstalledHandheld::registered_time(), answer.wake_after);
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteAnswers,
                         ::testing::Values(DeleteCase{"DeleteAlarm", CDeleteAlarmDlg::kDelete, false, 0, std::nullopt},
                                           DeleteCase{"TurnAlarmOff", CDeleteAlarmDlg::kTurnOff, true, 0, std::nullopt},
                                           DeleteCase{"Cancel", CDeleteAlarmDlg::kCancel, true, 1, "2026-12-08 07:00:00"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(AlarmList, TheSelectionIsKeptAcrossRunsAndOneBeyondTheListSelectsNothing) {
    write(1, {.hour = 6, .description = u"one"});
    write(2, {.hour = 7, .description = u"two"});
    write(3, {.hour = 8, .description = u"three"});
    Start();
    TapList(150, 2 * list().RowHeight() + 30);
    EXPECT_EQ(list().Selected(), 2);
    Stop();
    EXPECT_EQ(ActiveIndex::Read(), 2u);

    Start();
    EXPECT_EQ(list().Selected(), 2);
    Stop();

    ASSERT_TRUE(ActiveIndex::Write(7));
    Start();
    EXPECT_EQ(list().Selected(), -1);
    Command(IDC_COPY);  // with nothing selected: nothing happens
    EXPECT_EQ(list().Count(), 3);
    Stop();
    EXPECT_EQ(ActiveIndex::Read(), 0xFFFFFFFFu) << "nothing selected is kept as such";
}

TEST_F(AlarmList, AlertsChangeSignalRefreshesTheAlarmsItChanged) {
    const auto changed = write(1, {.hour = 6, .description = u"fired once"});
    const auto untouched = write(2, {.hour = 7, .description = u"other"});
    Start();
    // The list's folder watch would read both written files at its next tick, whenever
    // that comes on a busy machine: here only Alert's signal reads.
    view().KillTimer(CAlarmListView::kFollowStoreTimer);
    // Alert disarms both files but marks only the one it fired as changed for KIVO.
    for (const auto& path : {changed, untouched}) {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetActive(0), CAlarmDB::kOk);
    }
    AlarmChangeMarker::MarkSeen(untouched);
    AlarmChangeMarker::MarkChanged(changed);

    char handle[32];
    std::snprintf(handle, sizeof handle, "%#llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(app_->Frame()->GetSafeHwnd())));
    testing_support::ChildProcess sender(MESSAGE_SENDER, {"post", handle, "0x465", "0", "0"});
    ASSERT_EQ(sender.wait(), 0);
    EXPECT_TRUE(RunUntil([&] { return list().Row(0)->active == 0; }));
    EXPECT_EQ(list().Row(1)->active, 1) << "a file Alert did not mark is not read again";
    EXPECT_EQ(AlarmChangeMarker::Read(changed), AlarmChangeMarker::State::seen);
}

TEST_F(AlarmList, AnEditedAlarmMovesToItsNewPlaceEvenInALongList) {
    // Past the first hundred rows too: an edit never leaves the list out of order.
    const auto midnight = write(1, {.hour = 0, .minute = 0, .description = u"midnight"});
    for (int number = 2; number <= 104; ++number) write(number, {.hour = 6 + number % 12, .description = u"day", .active = 0});
    write(200, {.hour = 23, .minute = 59, .description = u"last"});
    Start();
    ASSERT_EQ(list().Count(), 105);
    ASSERT_EQ(rows().front(), u"midnight");
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(midnight), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetAlarmTime(23, 59), CAlarmDB::kOk);
    }
    view().AlarmEdited();
    EXPECT_EQ(rows()[103], u"last");
    EXPECT_EQ(rows()[104], u"midnight") << "after the row of the same time";
    EXPECT_EQ(list().Selected(), 104);
    EXPECT_EQ(list().Row(104)->hour, 23);
    for (int index = 1; index < list().Count(); ++index)
        EXPECT_LE(list().Row(index - 1)->TimeOfDay(), list().Row(index)->TimeOfDay()) << index;
}

struct ClockCase {
    const char* name;
    const char16_t* picture;
    int hour;
    const char16_t* clock;  // the clock's text, its seconds as "ss"
    const char16_t* row_time;
};
void PrintTo(const ClockCase& value, std::ostream* out) { *out << value.name; }

// The clock's text with its running seconds written "ss".
std::u16string without_seconds(std::u16string text) {
    const auto colon = text.find(u':', text.find(u':') + 1);
    if (colon != std::u16string::npos && colon + 2 < text.size()) text.replace(colon + 1, 2, u"ss");
    return text;
}

class ClockDisplay : public AlarmList, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(ClockDisplay, TheClockAndTheRowsFollowTheRegionalTimeFormat) {
    const ClockCase& display = GetParam();
    set_time_format(display.picture);
    set_clock("Europe/Berlin", alarm_tests::local_time(2026, 12, 8, display.hour, 30, 0));
    write(1, {.hour = display.hour, .minute = 30, .description = u"now"});
    Start();
    const std::u16string shown = view().Clock().GetWindowText();
    EXPECT_EQ(without_seconds(shown), display.clock) << std::string(shown.begin(), shown.end());
    EXPECT_EQ(list().Row(0)->TimeText(), display.row_time);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ClockDisplay,
    ::testing::Values(ClockCase{"TwelveHourNoon", u"h:mm:ss tt", 12, u"12:30:ss PM TUE.DEC.08.26", u"12:30 PM"},
                      ClockCase{"TwelveHourMidnight", u"h:mm:ss tt", 0, u"12:30:ss AM TUE.DEC.08.26", u"12:30 AM"},
                      ClockCase{"TwelveHourMorning", u"h:mm:ss tt", 9, u"9:30:ss AM TUE.DEC.08.26", u"9:30 AM"},
                      ClockCase{"TwelveHourEvening", u"hh:mm:ss tt", 21, u"09:30:ss PM TUE.DEC.08.26", u"09:30 PM"},
                      ClockCase{"TwentyFourHour", u"HH:mm:ss", 0, u"00:30:ss TUE.DEC.08.26", u"00:30"}),
    [](const auto& test) { return std::string(test.param.name); });

struct ListShape {
    const char* name;
    int width, height, dpi;
};
void PrintTo(const ListShape& shape, std::ostream* out) { *out << shape.name; }

class ClockOnEachScreen : public AlarmList, public ::testing::WithParamInterface<ListShape> {};

// The date is on the clock at every shape: under the time in portrait, beside it in the
// lower landscape clock, and inside the panel, off both of its edges.
TEST_P(ClockOnEachScreen, TheDateIsDrawnWhole) {
    host::ScreenSettings screen;
    screen.width = GetParam().width;
    screen.height = GetParam().height;
    screen.dpi = GetParam().dpi;
    ASSERT_TRUE(screen.write(host::Device::current().database()));
    set_time_format(u"HH:mm:ss");  // no AM / PM marker: the date alone is in the dim colour
    Start();
    const QImage clock = view().Clock().widget()->grab().toImage();
    ASSERT_FALSE(clock.isNull());
    const QColor dim(framework::GetRValue(kivo_palette::kClockDim), framework::GetGValue(kivo_palette::kClockDim),
                     framework::GetBValue(kivo_palette::kClockDim));
    int dim_pixels = 0, at_edges = 0;
    for (int y = 0; y < clock.height(); ++y)
        for (int x = 0; x < clock.width(); ++x)
            if (clock.pixelColor(x, y) == dim) {
                ++dim_pixels;
                if (x < 2 || x >= clock.width() - 2) ++at_edges;
            }
    EXPECT_GT(dim_pixels, 20) << "the date is drawn";
    EXPECT_EQ(at_edges, 0) << "the date runs into the panel's edge";
    EXPECT_TRUE(view().Clock().GetWindowText().ends_with(u" TUE.DEC.08.26")) << "the date read off the clock";
}

INSTANTIATE_TEST_SUITE_P(Shapes, ClockOnEachScreen,
                         ::testing::Values(ListShape{"Portrait", 240, 320, 96}, ListShape{"Landscape", 320, 240, 96},
                                           ListShape{"HighResolution", 480, 640, 192}),
                         [](const auto& shape) { return std::string(shape.param.name); });

TEST_F(AlarmList, TheClockTakesANewTimeFormatWhileKivoRuns) {
    set_time_format(u"h:mm:ss tt");
    set_clock("Europe/Berlin", alarm_tests::local_time(2026, 12, 8, 21, 30, 0));
    Start();
    EXPECT_EQ(without_seconds(view().Clock().GetWindowText()), u"9:30:ss PM TUE.DEC.08.26");
    set_time_format(u"HH:mm:ss");
    EXPECT_TRUE(RunUntil([&] { return view().Clock().GetWindowText().starts_with(u"21:3"); }))
        << "still " << std::string(view().Clock().GetWindowText().begin(), view().Clock().GetWindowText().end());
}

}  // namespace
}  // namespace kivo_tests
