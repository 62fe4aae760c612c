// The sound form and the more-options form as the alarm form's user meets them: the
// values handed in shown in the lists (out-of-range ones at their defaults) and handed
// back on OK, and Test Sound played on the captured wave output exactly as the reminder
// plays it, with its Testing state, its pauses and a file the player refuses.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QTimer>
#include <fstream>

#include "../host/wave/WaveTesting.h"
#include "ScreenDevice.h"
#include "WavFile.h"
#include "ce/Files.h"
#include "ce/Screen.h"
#include "forms/CFileOpenDlg.h"
#include "forms/CMoreOptionsDlg.h"
#include "forms/CSetSoundDlg.h"
#include "framework/Automation.h"
#include "framework/CButton.h"
#include "framework/CListBox.h"
#include "framework/CWinApp.h"
#include "framework/MessageBox.h"
#include "host/wave/AudioSettings.h"

namespace {

using framework::Automation;

class SoundForms : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        ASSERT_TRUE(host::AudioSettings::set_backend(host::AudioBackend::capture));
        std::filesystem::create_directories(host_path("My Documents"));
    }
    // A WAV file on the handheld; its device path.
    std::u16string Put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(host_path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::u16string path = u"\\";
        for (const char c : name) path += c == '/' ? u'\\' : static_cast<char16_t>(c);
        return path;
    }
    // A file of any name, written through the handheld's own calls; its device path.
    static std::u16string PutNamed(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
        ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
        ce::DWORD written = 0;
        EXPECT_TRUE(ce::WriteFile(file, bytes.data(), static_cast<ce::DWORD>(bytes.size()), &written));
        ce::CloseHandle(file);
        return path;
    }
    static std::u16string Text(CWnd& form, int id) { return form.GetDlgItem(id)->GetWindowText(); }
    static CComboBox* List(CWnd& form, int id) { return dynamic_cast<CComboBox*>(form.GetDlgItem(id)); }
    static bool Visible(CWnd& form, int id) { return form.GetDlgItem(id)->IsWindowVisible(); }
    static bool Enabled(CWnd& form, int id) { return form.GetDlgItem(id)->IsWindowEnabled(); }
};

// 200 ms of 8-bit mono sound at 8000 Hz: one buffer of the player.
const std::vector<std::uint8_t> kSound = testing_support::pattern_bytes(1600, 7);

std::vector<std::uint8_t> sound_file() {
    testing_support::WavSpec spec;
    spec.data = kSound;
    return testing_support::wav_bytes(spec);
}

struct SoundValues {
    const char* name;
    int volume, count, pause;                          // handed in
    const char16_t *volume_shown, *count_shown, *pause_shown;
    int volume_back, count_back, pause_back;           // handed back on OK
};

void PrintTo(const SoundValues& row, std::ostream* out) { *out << row.name; }

class SoundValuesTest : public SoundForms, public ::testing::WithParamInterface<SoundValues> {};

TEST_P(SoundValuesTest, ListsShowTheValuesHandedInAndOkHandsTheShownOnesBack) {
    const auto& row = GetParam();
    CSetSoundDlg form;
    form.SetVolume(row.volume);
    form.SetPlayCount(row.count);
    form.SetPauseSeconds(row.pause);
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(Text(form, CSetSoundDlg::IDC_VOLUME), row.volume_shown);
    EXPECT_EQ(Text(form, CSetSoundDlg::IDC_PLAY_COUNT), row.count_shown);
    EXPECT_EQ(Text(form, CSetSoundDlg::IDC_PAUSE), row.pause_shown);
    ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
    RunQueued();
    EXPECT_EQ(form.GetSafeHwnd(), nullptr) << "OK closes the form";
    EXPECT_EQ(form.GetVolume(), row.volume_back);
    EXPECT_EQ(form.GetPlayCount(), row.count_back);
    EXPECT_EQ(form.GetPauseSeconds(), row.pause_back);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SoundValuesTest,
    ::testing::Values(SoundValues{"Defaults", 6, 1, 0, u"6", u"1", u"0", 6, 1, 0},
                      SoundValues{"VolumeZeroIsSix", 0, 3, 5, u"6", u"3", u"5", 6, 3, 5},
                      SoundValues{"VolumeElevenIsSix", 11, 10, 90, u"6", u"10", u"90", 6, 10, 90},
                      SoundValues{"CountOutsideIsOne", 1, 11, 1, u"1", u"1", u"1", 1, 1, 1},
                      SoundValues{"PauseNotInTheListIsNone", 10, 2, 4, u"10", u"2", u"0", 10, 2, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SoundForms, ChangedListsAndTheChosenFileComeBackOnOkButNotOnCancel) {
    Put("My Documents/a.wav", sound_file());
    Put("My Documents/b.wav", sound_file());
    CSetSoundDlg form;
    form.SetSoundPath(u"\\My Documents\\a.wav");
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(Text(form, CSetSoundDlg::IDC_SOUND_PATH), u"\\My Documents\\a.wav");

    // "..." opens the file chooser at the sound's folder; the user picks b.wav and taps OK.
    std::u16string chooser_folder;
    QTimer::singleShot(0, [&] {
        auto* chooser = dynamic_cast<CFileOpenDlg*>(CWinApp::Foreground());
        ASSERT_NE(chooser, nullptr);
        chooser_folder = chooser->CurrentFolder();
        auto& files = chooser->FileList();
        ASSERT_EQ(files.GetItemCount(), 2);
        EXPECT_TRUE(files.IsItemSelected(0)) << "the current sound is selected";
        files.SelectItem(1);
        Automation::Click(chooser, framework::IDOK);
    });
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_BROWSE));
    EXPECT_EQ(chooser_folder, u"\\My Documents");
    EXPECT_EQ(Text(form, CSetSoundDlg::IDC_SOUND_PATH), u"\\My Documents\\b.wav");

    List(form, CSetSoundDlg::IDC_VOLUME)->SetCurSel(9);
    List(form, CSetSoundDlg::IDC_PLAY_COUNT)->SetCurSel(4);
    List(form, CSetSoundDlg::IDC_PAUSE)->SetCurSel(8);
    ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
    EXPECT_EQ(form.GetSoundPath(), u"\\My Documents\\b.wav");
    EXPECT_EQ(form.GetVolume(), 10);
    EXPECT_EQ(form.GetPlayCount(), 5);
    EXPECT_EQ(form.GetPauseSeconds(), 60);

    CSetSoundDlg cancelled;
    cancelled.SetVolume(3);
    ASSERT_TRUE(cancelled.Create());
    RunQueued();
    List(cancelled, CSetSoundDlg::IDC_VOLUME)->SetCurSel(9);
    ASSERT_TRUE(Automation::Click(&cancelled, framework::IDCANCEL));
    EXPECT_EQ(cancelled.GetSafeHwnd(), nullptr);
    EXPECT_EQ(cancelled.GetVolume(), 3);
}

TEST_F(SoundForms, TestSoundPlaysTheCountBackToBackAtTheVolumeAndLeavesTestingByItself) {
    CSetSoundDlg form;
    form.SetSoundPath(Put("My Documents/ring.wav", sound_file()));
    form.SetVolume(8);
    form.SetPlayCount(3);
    form.SetPauseSeconds(0);
    ASSERT_TRUE(form.Create());
    RunQueued();
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_TEST_SOUND));
    EXPECT_TRUE(form.IsTesting());
    EXPECT_TRUE(Visible(form, CSetSoundDlg::IDC_STOP));
    EXPECT_FALSE(Visible(form, CSetSoundDlg::IDC_TEST_SOUND));
    for (const int id : {framework::IDOK, framework::IDCANCEL, CSetSoundDlg::IDC_BROWSE, CSetSoundDlg::IDC_VOLUME,
                         CSetSoundDlg::IDC_PLAY_COUNT, CSetSoundDlg::IDC_PAUSE})
        EXPECT_FALSE(Enabled(form, id)) << "control " << id << " waits while testing";
    // OK (and Enter, which the form takes as OK) during the test does nothing.
    EXPECT_FALSE(Automation::Click(&form, framework::IDOK));
    form.PostMessage(ce::WM_KEYDOWN, 0x0D, 0);
    RunQueued();
    EXPECT_NE(form.GetSafeHwnd(), nullptr);

    ASSERT_TRUE(RunUntil([&] { return !form.IsTesting(); }, std::chrono::seconds(15)));
    EXPECT_TRUE(Visible(form, CSetSoundDlg::IDC_TEST_SOUND));
    EXPECT_FALSE(Visible(form, CSetSoundDlg::IDC_STOP));
    EXPECT_TRUE(Enabled(form, framework::IDOK));
    const auto plays = wave_tests::captures();
    ASSERT_EQ(plays.size(), 3u);
    for (const auto& play : plays) {
        EXPECT_EQ(wave_tests::captured_bytes(play), kSound);
        EXPECT_EQ(play.volume, (8u * 65535 / 10) * 0x10001u) << "both channels at volume 8";
    }
    EXPECT_EQ(form.GetPlayCount(), 3) << "the count the test ran down is still the chosen one";
}

// Milliseconds from the end of one capture to the start of the next.
long gap_ms(const host::CaptureEntry& first, const host::CaptureEntry& second) {
    ce::FILETIME a, b;
    ce::SystemTimeToFileTime(&first.end, &a);
    ce::SystemTimeToFileTime(&second.start, &b);
    const auto ticks = [](const ce::FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return static_cast<long>((static_cast<std::int64_t>(ticks(b)) - static_cast<std::int64_t>(ticks(a))) / 10000);
}

TEST_F(SoundForms, ThePauseChosenInTheListLiesBetweenThePlaysAndStopEndsTheTest) {
    CSetSoundDlg form;
    form.SetSoundPath(Put("pause.wav", sound_file()));
    form.SetPlayCount(2);
    form.SetPauseSeconds(1);
    ASSERT_TRUE(form.Create());
    RunQueued();
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_TEST_SOUND));
    ASSERT_TRUE(RunUntil([&] { return !form.IsTesting(); }, std::chrono::seconds(15)));
    auto plays = wave_tests::captures();
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_GE(gap_ms(plays[0], plays[1]), 900) << "a second of silence between the plays";
    EXPECT_LT(gap_ms(plays[0], plays[1]), 3000);

    // Stop in the pause after the first play: no second play follows.
    List(form, CSetSoundDlg::IDC_PAUSE)->SetCurSel(3);  // 3 seconds
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_TEST_SOUND));
    ASSERT_TRUE(RunUntil([] { return wave_tests::captures().size() == 3; }, std::chrono::seconds(15)));
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_STOP));
    EXPECT_FALSE(form.IsTesting());
    RunUntil([] { return false; }, std::chrono::milliseconds(3500));
    EXPECT_EQ(wave_tests::captures().size(), 3u);
}

TEST_F(SoundForms, AFileThePlayerRefusesIsExplainedAndTheFormIsUsableAgain) {
    framework::MessageBoxScript boxes;
    boxes.Answer(framework::IDOK);
    CSetSoundDlg form;
    form.SetSoundPath(Put("notes.wav", std::vector<std::uint8_t>(100, 'x')));
    ASSERT_TRUE(form.Create());
    RunQueued();
    ASSERT_TRUE(Automation::Click(&form, CSetSoundDlg::IDC_TEST_SOUND));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find(u"\\notes.wav"), std::u16string::npos);
    EXPECT_NE(boxes.Shown()[0].text.find(u"not a WAV sound"), std::u16string::npos);
    EXPECT_FALSE(form.IsTesting());
    EXPECT_TRUE(Enabled(form, framework::IDOK));
    EXPECT_TRUE(wave_tests::captures().empty());

    // A path that names no file, or a folder, is no test at all: the message names it.
    for (const std::u16string path : {u"\\gone.wav", u"\\My Documents"}) {
        CSetSoundDlg missing;
        missing.SetSoundPath(path);
        ASSERT_TRUE(missing.Create());
        RunQueued();
        ASSERT_TRUE(Automation::Click(&missing, CSetSoundDlg::IDC_TEST_SOUND));
        EXPECT_FALSE(missing.IsTesting());
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_NE(boxes.Shown().back().text.find(u"There is no sound file " + path + u"."), std::u16string::npos);
        missing.DestroyWindow();
    }
    EXPECT_EQ(boxes.Shown().size(), 3u);
}

// OK hands the sound to the alarm: one it could not play, or not keep in its file, would
// leave it silent at its time. OK says why and the form stays, to pick another.
TEST_F(SoundForms, OkRefusesASoundTheAlarmCouldNotPlayOrKeepAndSaysWhy) {
    framework::MessageBoxScript boxes;
    const std::string long_folder = "My Documents/" + std::string(180, 'f');
    std::filesystem::create_directories(host_path(long_folder));
    const struct {
        std::u16string path;
        std::u16string why;
    } refused[] = {
        {Put("My Documents/fake.wav", std::vector<std::uint8_t>(100, 'x')), u"not a WAV sound"},
        {PutNamed(u"\\My Documents\\будильник.wav", sound_file()), u"characters the alarm cannot keep"},
        {Put(long_folder + "/ring.wav", sound_file()), u"too long"},
    };
    for (const auto& sound : refused) {
        CSetSoundDlg form;
        form.SetSoundPath(sound.path);
        ASSERT_TRUE(form.Create());
        RunQueued();
        const std::size_t before = boxes.Shown().size();
        ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
        EXPECT_NE(form.GetSafeHwnd(), nullptr) << "the form stays";
        ASSERT_EQ(boxes.Shown().size(), before + 1);
        EXPECT_NE(boxes.Shown().back().text.find(sound.why), std::u16string::npos);
        form.DestroyWindow();
    }

    // A sound it can play and keep, or none at all, is taken.
    for (const std::u16string& path : {Put("My Documents/ring.wav", sound_file()), std::u16string()}) {
        CSetSoundDlg form;
        form.SetSoundPath(path);
        ASSERT_TRUE(form.Create());
        RunQueued();
        ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
        EXPECT_EQ(form.GetSafeHwnd(), nullptr);
        EXPECT_EQ(form.GetSoundPath(), path);
    }
    EXPECT_EQ(boxes.Shown().size(), 3u);
}

struct ShapeCase {
    const char* name;
    int width, height, dpi, scale;
    // Design pixels: OK, Cancel (the sound form's; the more-options form's is one to the
    // right), Help, the path, "...", Test Sound.
    CRect ok, cancel, help, path, browse, test;
};

void PrintTo(const ShapeCase& row, std::ostream* out) { *out << row.name; }

class ShapeLayoutTest : public SoundForms, public ::testing::WithParamInterface<ShapeCase> {
protected:
    static CRect Place(CWnd& form, int id) {
        CRect place;
        form.GetDlgItem(id)->GetWindowRectInParent(&place);
        return place;
    }
    static CRect Scaled(const CRect& r, int s) { return {r.left * s, r.top * s, r.right * s, r.bottom * s}; }
};

constexpr CRect design(int x, int y, int cx, int cy) { return {x, y, x + cx, y + cy}; }

TEST_P(ShapeLayoutTest, ButtonsSitWhereTheShapeOfTheScreenPutsThemOpenedThereOrTurnedTo) {
    const auto& row = GetParam();
    const int s = row.scale;
    const auto check = [&](CWnd& form, const char* how) {
        EXPECT_EQ(Place(form, framework::IDOK), Scaled(row.ok, s)) << how;
        EXPECT_EQ(Place(form, framework::IDCANCEL), Scaled(row.cancel, s)) << how;
        EXPECT_EQ(Place(form, 2107), Scaled(row.help, s)) << how;
        EXPECT_EQ(Place(form, CSetSoundDlg::IDC_SOUND_PATH), Scaled(row.path, s)) << how;
        EXPECT_EQ(Place(form, CSetSoundDlg::IDC_BROWSE), Scaled(row.browse, s)) << how;
        EXPECT_EQ(Place(form, CSetSoundDlg::IDC_TEST_SOUND), Scaled(row.test, s)) << how;
        EXPECT_EQ(Place(form, CSetSoundDlg::IDC_STOP), Scaled(row.test, s)) << how;
    };
    SetScreen(row.width, row.height, row.dpi);
    CSetSoundDlg opened;
    ASSERT_TRUE(opened.Create());
    RunQueued();
    check(opened, "opened on this screen");
    CMoreOptionsDlg more;
    ASSERT_TRUE(more.Create());
    RunQueued();
    const CRect cancel = Scaled(row.cancel, s);
    EXPECT_EQ(Place(more, framework::IDCANCEL), CRect(cancel.left + s, cancel.top, cancel.right + s, cancel.bottom));
    EXPECT_EQ(Place(more, framework::IDOK), Scaled(row.ok, s));
    opened.DestroyWindow();
    more.DestroyWindow();

    // Opened on another shape, then the screen turns (or changes) to this one.
    SetScreen(row.width > row.height ? 240 : 320, row.width > row.height ? 320 : 240, row.dpi);
    CSetSoundDlg turned;
    ASSERT_TRUE(turned.Create());
    RunQueued();
    SetScreen(row.width, row.height, row.dpi);
    turned.SendMessage(ce::WM_DISPLAYCHANGE, 16, framework::MAKELPARAM(row.width, row.height));
    RunQueued();
    check(turned, "turned to this screen");
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ShapeLayoutTest,
    ::testing::Values(
        ShapeCase{"Portrait", 240, 320, 96, 1, design(3, 232, 75, 22), design(83, 232, 75, 22), design(214, 3, 24, 24),
                  design(82, 36, 130, 19), design(216, 36, 22, 19), design(82, 133, 75, 19)},
        ShapeCase{"Landscape", 320, 240, 96, 1, design(3, 160, 75, 22), design(83, 160, 75, 22), design(294, 3, 24, 24),
                  design(82, 36, 210, 19), design(296, 36, 22, 19), design(123, 133, 75, 19)},
        ShapeCase{"Square", 240, 240, 96, 1, design(3, 158, 75, 22), design(83, 158, 75, 22), design(214, 3, 24, 24),
                  design(82, 36, 130, 19), design(216, 36, 22, 19), design(164, 158, 75, 22)},
        ShapeCase{"PortraitAt192", 480, 640, 192, 2, design(3, 232, 75, 22), design(83, 232, 75, 22),
                  design(214, 3, 24, 24), design(82, 36, 130, 19), design(216, 36, 22, 19), design(82, 133, 75, 19)},
        ShapeCase{"LandscapeAt192", 640, 480, 192, 2, design(3, 160, 75, 22), design(83, 160, 75, 22),
                  design(294, 3, 24, 24), design(82, 36, 210, 19), design(296, 36, 22, 19), design(123, 133, 75, 19)}),
    [](const auto& row) { return std::string(row.param.name); });

struct ReplayValues {
    const char* name;
    int minutes, beam;
    const char16_t* shown;
    bool no_beam_checked;
};

void PrintTo(const ReplayValues& row, std::ostream* out) { *out << row.name; }

class MoreOptionsTest : public SoundForms, public ::testing::WithParamInterface<ReplayValues> {};

TEST_P(MoreOptionsTest, ShowsTheReplayAndTheBeamingAndGivesThemBack) {
    const auto& row = GetParam();
    CMoreOptionsDlg form;
    form.SetReplayMinutes(row.minutes);
    form.SetBeamOnRepeats(row.beam);
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(Text(form, CMoreOptionsDlg::IDC_REPLAY), row.shown);
    auto* no_beam = dynamic_cast<CButton*>(form.GetDlgItem(CMoreOptionsDlg::IDC_NO_BEAM));
    EXPECT_EQ(no_beam->GetCheck() == CButton::BST_CHECKED, row.no_beam_checked);
    // The user taps the check box once: the beaming turns round.
    ASSERT_TRUE(Automation::Click(&form, CMoreOptionsDlg::IDC_NO_BEAM));
    ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
    EXPECT_EQ(form.GetBeamOnRepeats(), row.no_beam_checked ? 1 : 0);
    const int shown_minutes = std::stoi(std::string(row.shown, row.shown + 2));
    EXPECT_EQ(form.GetReplayMinutes(), shown_minutes);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MoreOptionsTest,
    ::testing::Values(ReplayValues{"Default", 5, 0, u"5 min", true}, ReplayValues{"OneMinute", 1, 1, u"1 min", false},
                      ReplayValues{"ThirtyMinutes", 30, 0, u"30 min", true},
                      ReplayValues{"FortyFiveIsFive", 45, 1, u"5 min", false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SoundForms, HelpOpensTheFormsOwnPage) {
    int opened = 0;
    std::u16string title, text;
    const auto watch = [&] {
        QTimer::singleShot(0, [&] {
            CWnd* help = CWinApp::Foreground();
            if (help == nullptr || help->GetDlgItem(2035) == nullptr) return;
            ++opened;
            title = help->GetDlgItem(2100)->GetWindowText();
            text = help->GetDlgItem(2035)->GetWindowText();
            help->PostMessage(ce::WM_CLOSE);
        });
    };
    CSetSoundDlg sound;
    ASSERT_TRUE(sound.Create());
    RunQueued();
    watch();
    ASSERT_TRUE(Automation::Click(&sound, 2107));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(title, u"Assign a Sound to Alarm");
    EXPECT_NE(text.find(u"Test Sound"), std::u16string::npos);

    CMoreOptionsDlg more;
    ASSERT_TRUE(more.Create());
    RunQueued();
    watch();
    ASSERT_TRUE(Automation::Click(&more, 2107));
    EXPECT_EQ(opened, 2);
    EXPECT_NE(title.find(u"Alarm Options, More"), std::u16string::npos);
    EXPECT_NE(text.find(u"Do not beam infrared signals"), std::u16string::npos);
}

TEST_F(SoundForms, EveryListDropsDownEightItemsTall) {
    CSetSoundDlg form;
    ASSERT_TRUE(form.Create());
    RunQueued();
    for (const int id : {CSetSoundDlg::IDC_VOLUME, CSetSoundDlg::IDC_PLAY_COUNT, CSetSoundDlg::IDC_PAUSE}) {
        auto* box = qobject_cast<QComboBox*>(form.GetDlgItem(id)->widget());
        ASSERT_NE(box, nullptr) << id;
        box->showPopup();
        RunQueued();
        QAbstractItemView* drop = box->view();
        ASSERT_TRUE(drop->isVisible()) << id;
        const int row = drop->sizeHintForRow(0);
        ASSERT_GT(row, 0);
        EXPECT_EQ(drop->viewport()->height() / row, 8) << "list " << id << " of " << box->count() << " items";
        box->hidePopup();
        RunQueued();
    }
    ASSERT_TRUE(Automation::Click(&form, framework::IDCANCEL));
    RunQueued();
}

}  // namespace
