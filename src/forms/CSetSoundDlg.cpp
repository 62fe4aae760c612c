#include "forms/CSetSoundDlg.h"

#include <array>
#include <mutex>

#include "ce/Text.h"
#include "forms/CFileOpenDlg.h"
#include "forms/DesignPlaces.h"
#include "forms/FolderPath.h"
#include "forms/FormIds.h"
#include "forms/HelpStrings.h"
#include "forms/SoundRefusal.h"
#include "framework/CListBox.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "sound/CSoundWave.h"
#include "sound/SoundFileCheck.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_BORDER;
using framework::WS_VISIBLE;

constexpr int IDC_SELECT_LABEL = 1029;
constexpr int kListItemsShown = 8;
constexpr int kValues = 10;  // volume and play count run 1..10
constexpr std::array<int, 10> kPauseSeconds{0, 1, 2, 3, 5, 10, 20, 30, 60, 90};

constexpr const char16_t* kTitle = u"Assign a Sound to Alarm";
constexpr const char16_t* kNoSoundToTest = u"Choose a sound with \"...\", then tap Test Sound.";

// Rectangles here are only where the controls are made; Layout places them.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, kTitle, WS_VISIBLE, 4, 3, 128, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 143, 2, 16, 16},
    {IDC_SELECT_LABEL, ControlKind::Static, u"Select a sound:", WS_VISIBLE, 4, 24, 48, 20},
    {CSetSoundDlg::IDC_SOUND_PATH, ControlKind::Edit, u"", WS_VISIBLE | WS_BORDER | framework::ES_READONLY, 54, 24, 86, 12},
    {CSetSoundDlg::IDC_BROWSE, ControlKind::PushButton, u"...", WS_VISIBLE, 144, 24, 14, 12},
    {CSetSoundDlg::IDC_VOLUME_LABEL, ControlKind::Static, u"Volume:", WS_VISIBLE, 4, 44, 48, 10},
    {CSetSoundDlg::IDC_VOLUME, ControlKind::DropDownList, u"", WS_VISIBLE, 54, 42, 36, 12},
    {CSetSoundDlg::IDC_PLAY_LABEL, ControlKind::Static, u"Play sound", WS_VISIBLE, 4, 60, 48, 10},
    {CSetSoundDlg::IDC_PLAY_COUNT, ControlKind::DropDownList, u"", WS_VISIBLE, 54, 58, 36, 12},
    {CSetSoundDlg::IDC_TIMES_LABEL, ControlKind::Static, u"times", WS_VISIBLE, 94, 60, 40, 10},
    {CSetSoundDlg::IDC_WITH_LABEL, ControlKind::Static, u"with", WS_VISIBLE, 4, 76, 48, 10},
    {CSetSoundDlg::IDC_PAUSE, ControlKind::DropDownList, u"", WS_VISIBLE, 54, 74, 36, 12},
    {CSetSoundDlg::IDC_PAUSE_LABEL, ControlKind::Static, u"sec pause between", WS_VISIBLE, 94, 76, 64, 10},
    {CSetSoundDlg::IDC_TEST_SOUND, ControlKind::PushButton, u"Test Sound", WS_VISIBLE, 54, 90, 50, 13},
    {CSetSoundDlg::IDC_STOP, ControlKind::PushButton, u"Stop", 0, 54, 90, 50, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 2, 150, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 55, 150, 50, 14},
};

// In design pixels: landscape, portrait, square. The buttons, the path and "..." are
// where the reminder's designers put them; the rows between follow them.
constexpr ControlPlace kPlaces[] = {
    {framework::IDOK, {3, 160, 75, 22}, {3, 232, 75, 22}, {3, 158, 75, 22}},
    {framework::IDCANCEL, {83, 160, 75, 22}, {83, 232, 75, 22}, {83, 158, 75, 22}},
    {IDC_HELP_BUTTON, {294, 3, 24, 24}, {214, 3, 24, 24}, {214, 3, 24, 24}},
    {IDC_CAPTION, {10, 8, 280, 20}, {10, 8, 200, 20}, {10, 8, 200, 20}},
    {IDC_SELECT_LABEL, {10, 35, 70, 28}, {10, 35, 70, 28}, {10, 35, 70, 28}},
    {CSetSoundDlg::IDC_SOUND_PATH, {82, 36, 210, 19}, {82, 36, 130, 19}, {82, 36, 130, 19}},
    {CSetSoundDlg::IDC_BROWSE, {296, 36, 22, 19}, {216, 36, 22, 19}, {216, 36, 22, 19}},
    {CSetSoundDlg::IDC_VOLUME_LABEL, {10, 65, 70, 18}, {10, 65, 70, 18}, {10, 65, 70, 18}},
    {CSetSoundDlg::IDC_VOLUME, {82, 62, 44, 21}, {82, 62, 44, 21}, {82, 62, 44, 21}},
    {CSetSoundDlg::IDC_PLAY_LABEL, {10, 89, 70, 18}, {10, 89, 70, 18}, {10, 89, 70, 18}},
    {CSetSoundDlg::IDC_PLAY_COUNT, {82, 86, 44, 21}, {82, 86, 44, 21}, {82, 86, 44, 21}},
    {CSetSoundDlg::IDC_TIMES_LABEL, {131, 89, 60, 18}, {131, 89, 60, 18}, {131, 89, 60, 18}},
    {CSetSoundDlg::IDC_WITH_LABEL, {10, 113, 70, 18}, {10, 113, 70, 18}, {10, 113, 70, 18}},
    {CSetSoundDlg::IDC_PAUSE, {82, 110, 44, 21}, {82, 110, 44, 21}, {82, 110, 44, 21}},
    {CSetSoundDlg::IDC_PAUSE_LABEL, {131, 113, 180, 18}, {131, 113, 104, 18}, {131, 113, 104, 18}},
    {CSetSoundDlg::IDC_TEST_SOUND, {123, 133, 75, 19}, {82, 133, 75, 19}, {164, 158, 75, 22}},
    {CSetSoundDlg::IDC_STOP, {123, 133, 75, 19}, {82, 133, 75, 19}, {164, 158, 75, 22}},
};

CComboBox* list(const CWnd& form, int id) { return dynamic_cast<CComboBox*>(form.GetDlgItem(id)); }

std::u16string number(int value) { return ce::utf16_from_utf8(std::to_string(value)); }

bool in_range(int value) { return value >= 1 && value <= kValues; }

}  // namespace

void CSetSoundDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] { framework::DialogTemplates::Add({kTemplate, 162, 164, kItems}); });
}

CSetSoundDlg::CSetSoundDlg(CWnd* parent) : CMainBaseDlg(parent, kTemplate, kTemplate, kTemplate), test_(*this) {
    RegisterTemplates();
}

CSetSoundDlg::~CSetSoundDlg() { test_.DestroyPlayer(); }

void CSetSoundDlg::SetVolume(int volume) { volume_ = in_range(volume) ? volume : kDefaultVolume; }

void CSetSoundDlg::SetPlayCount(int count) { play_count_ = in_range(count) ? count : kDefaultPlayCount; }

bool CSetSoundDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    SetWindowText(kTitle);
    FillLists();
    GetDlgItem(IDC_SOUND_PATH)->SetWindowText(sound_path_);
    Layout();
    test_.CreatePlayer();
    return true;
}

void CSetSoundDlg::FillLists() {
    CComboBox* volume = list(*this, IDC_VOLUME);
    CComboBox* count = list(*this, IDC_PLAY_COUNT);
    CComboBox* pause = list(*this, IDC_PAUSE);
    for (int value = 1; value <= kValues; ++value) {
        volume->AddString(number(value));
        count->AddString(number(value));
    }
    int pause_index = 0;
    for (std::size_t index = 0; index < kPauseSeconds.size(); ++index) {
        pause->AddString(number(kPauseSeconds[index]));
        if (kPauseSeconds[index] == pause_seconds_) pause_index = static_cast<int>(index);
    }
    volume->SetCurSel((in_range(volume_) ? volume_ : kDefaultVolume) - 1);
    count->SetCurSel((in_range(play_count_) ? play_count_ : kDefaultPlayCount) - 1);
    pause->SetCurSel(pause_index);
    for (CComboBox* each : {volume, count, pause}) each->SetDropDownItems(kListItemsShown);
}

void CSetSoundDlg::OnSize(ce::UINT type, int cx, int cy) {
    CMainBaseDlg::OnSize(type, cx, cy);
    Layout();
}

void CSetSoundDlg::Layout() {
    if (widget() != nullptr) DesignPlaces::Apply(*this, kPlaces);
}

int CSetSoundDlg::ChosenVolume() const {
    const int value = list(*this, IDC_VOLUME)->GetCurSel() + 1;
    return in_range(value) ? value : kDefaultVolume;
}

int CSetSoundDlg::ChosenPlayCount() const {
    const int value = list(*this, IDC_PLAY_COUNT)->GetCurSel() + 1;
    return in_range(value) ? value : kDefaultPlayCount;
}

int CSetSoundDlg::ChosenPause() const {
    const int index = list(*this, IDC_PAUSE)->GetCurSel();
    return index > 0 && index < static_cast<int>(kPauseSeconds.size()) ? kPauseSeconds[static_cast<std::size_t>(index)]
                                                                       : 0;
}

bool CSetSoundDlg::OnCommand(ce::UINT id, ce::UINT code) {
    switch (id) {
        case IDC_TEST_SOUND: StartTest(); return true;
        case IDC_STOP: StopTest(); return true;
        case IDC_BROWSE: ChooseFile(); return true;
        default: return CMainBaseDlg::OnCommand(id, code);
    }
}

ce::LRESULT CSetSoundDlg::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message != WM_SOUND_ENDED) return CMainBaseDlg::WindowProc(message, wParam, lParam);
    if (testing_ && test_.OnSoundEnded() == TestSoundRun::Step::Over) {
        if (test_.LastResult() != CSoundWave::kPlaying) ShowRefusal(test_.LastResult());
        StopTest();
    }
    return 0;
}

void CSetSoundDlg::OnTimer(ce::UINT_PTR id) {
    const auto step = test_.OnTimer(id);
    if (step == TestSoundRun::Step::NotMine) {
        CMainBaseDlg::OnTimer(id);
        return;
    }
    if (step == TestSoundRun::Step::Over && testing_) {
        ShowRefusal(test_.LastResult());
        StopTest();
    }
}

void CSetSoundDlg::StartTest() {
    test_.StopPlayer();
    if (!FolderPath::IsFile(sound_path_)) {
        const std::u16string why = sound_path_.empty() ? std::u16string(kNoSoundToTest)
                                                       : u"There is no sound file " + sound_path_ + u". " + kNoSoundToTest;
        framework::MessageBox(this, why, kTitle, framework::MB_OK | framework::MB_ICONINFORMATION);
        return;
    }
    const ce::DWORD result = test_.Start(sound_path_, ChosenVolume(), ChosenPlayCount(), ChosenPause());
    SetTestingControls(true);
    if (result == CSoundWave::kPlaying) return;
    // Nothing will ever report the end of a play that never began: say why, and end
    // the test rather than leave the form waiting in silence.
    ShowRefusal(result);
    StopTest();
}

void CSetSoundDlg::StopTest() {
    test_.Stop();
    SetTestingControls(false);
}

void CSetSoundDlg::ShowRefusal(ce::DWORD code) {
    framework::MessageBox(this, SoundRefusal::Text(code, sound_path_), kTitle,
                          framework::MB_OK | framework::MB_ICONWARNING);
}

void CSetSoundDlg::SetTestingControls(bool testing) {
    testing_ = testing;
    GetDlgItem(IDC_STOP)->ShowWindow(testing);
    GetDlgItem(IDC_TEST_SOUND)->ShowWindow(!testing);
    for (const int id : {framework::IDOK, framework::IDCANCEL, IDC_BROWSE, IDC_VOLUME, IDC_PLAY_COUNT, IDC_PAUSE})
        GetDlgItem(id)->EnableWindow(!testing);
}

void CSetSoundDlg::ChooseFile() {
    if (PlayerBusy()) return;
    std::u16string path = sound_path_;
    CFileOpenDlg chooser(&path, this);
    chooser.SetExtensions({u"wav"});
    if (chooser.DoModal() != framework::IDOK) return;
    sound_path_ = path;
    GetDlgItem(IDC_SOUND_PATH)->SetWindowText(sound_path_);
}

void CSetSoundDlg::OnOK() {
    if (testing_ || PlayerBusy()) return;
    // A sound the alarm could not play or not keep would leave it silent at its time:
    // said now, with the form still open to pick another.
    if (!sound_path_.empty()) {
        if (const std::u16string why = SoundRefusal::PathText(sound_path_); !why.empty()) {
            framework::MessageBox(this, why, kTitle, framework::MB_OK | framework::MB_ICONWARNING);
            return;
        }
        if (const ce::DWORD code = SoundFileCheck::Check(sound_path_); code != CSoundWave::kPlaying) {
            ShowRefusal(code);
            return;
        }
    }
    volume_ = ChosenVolume();
    play_count_ = ChosenPlayCount();
    pause_seconds_ = ChosenPause();
    test_.DestroyPlayer();
    EndDialog(framework::IDOK);
}

void CSetSoundDlg::OnCancel() {
    if (testing_ || PlayerBusy()) return;
    test_.DestroyPlayer();
    EndDialog(framework::IDCANCEL);
}

HelpPage CSetSoundDlg::GetHelpPage() const { return {kTitle, HelpStrings::Text(IDS_HELP)}; }
