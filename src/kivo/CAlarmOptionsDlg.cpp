#include "kivo/CAlarmOptionsDlg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "alarms/ArmedTime.h"
#include "alarms/ComPortSetting.h"
#include "alarms/UserClock.h"
#include "ce/Time.h"
#include "forms/CMacroEditorDlg.h"
#include "forms/CMoreOptionsDlg.h"
#include "forms/CSetSoundDlg.h"
#include "forms/CommandListCodebase.h"
#include "forms/FormIds.h"
#include "forms/HelpStrings.h"
#include "forms/SoundRefusal.h"
#include "framework/CButton.h"
#include "framework/CEdit.h"
#include "framework/CSpinButtonCtrl.h"
#include "framework/InputDispatcher.h"
#include "framework/MessageBox.h"
#include "framework/TapFilter.h"
#include "kivo/AlarmOptionsFile.h"
#include "kivo/AlarmOptionsLayout.h"
#include "sound/CSoundWave.h"

namespace {

constexpr const char16_t* kTitle = u"Alarm Options";

// The day buttons and their bits of Days, Sunday first as the form shows them.
struct DayButton {
    int id;
    std::uint8_t bit;
};
constexpr std::array<DayButton, 7> kDayButtons = {{
    {CAlarmOptionsDlg::IDC_SUNDAY, 0x40},
    {CAlarmOptionsDlg::IDC_MONDAY, 0x01},
    {CAlarmOptionsDlg::IDC_MONDAY + 1, 0x02},
    {CAlarmOptionsDlg::IDC_MONDAY + 2, 0x04},
    {CAlarmOptionsDlg::IDC_MONDAY + 3, 0x08},
    {CAlarmOptionsDlg::IDC_MONDAY + 4, 0x10},
    {CAlarmOptionsDlg::IDC_SATURDAY, 0x20},
}};

bool is_day(int id) {
    return std::any_of(kDayButtons.begin(), kDayButtons.end(), [id](const DayButton& day) { return day.id == id; });
}

bool is_blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x3000 || c == 0xA0; }

std::u16string number_text(int value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

CAlarmOptionsDlg::CAlarmOptionsDlg(CWnd* parent, std::u16string folder, std::u16string file_name)
    : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare), folder_(std::move(folder)), file_name_(std::move(file_name)) {
    RegisterTemplates();
}

void CAlarmOptionsDlg::RegisterTemplates() { AlarmOptionsLayout::Register(); }

bool CAlarmOptionsDlg::LoadAlarm() {
    loaded_ = !file_name_.empty() && AlarmOptionsFile::Load(folder_, file_name_, options_);
    return loaded_;
}

HelpPage CAlarmOptionsDlg::GetHelpPage() const { return {kTitle, HelpStrings::Text(IDS_HELP)}; }

bool CAlarmOptionsDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    if (auto* description = dynamic_cast<CEdit*>(GetDlgItem(IDC_DESCRIPTION)))
        description->SetLimitText(AlarmOptions::kDescriptionCharacters);
    for (int id : {IDC_HOUR, IDC_MINUTE})
        if (auto* field = dynamic_cast<CEdit*>(GetDlgItem(id))) field->SetLimitText(2);
    SetDays(AlarmOptions::kEveryDay);
    twelve_hours_ = UserClock::UsesTwelveHours();
    if (CWnd* indicator = GetDlgItem(IDC_AMPM)) {
        indicator->ShowWindow(twelve_hours_);
        // A tap on am / pm crosses noon, rather than stepping the hour round to it.
        framework::TapFilter::Install(indicator->widget(), [this] { ToggleMarker(); });
    }
    FollowField(IDC_MINUTE);
    if (CWnd* description = GetDlgItem(IDC_DESCRIPTION)) description->SetFocus();

    if (!file_name_.empty() && (loaded_ || LoadAlarm()))
        ShowOptions();
    else
        ShowCurrentTime();
    return true;
}

void CAlarmOptionsDlg::ShowOptions() {
    if (CWnd* description = GetDlgItem(IDC_DESCRIPTION)) description->SetWindowText(options_.description);
    SetChecked(IDC_PLAY_SOUND, options_.play_sound);
    Enable(IDC_SOUND_SETTINGS, options_.play_sound);
    SetChecked(IDC_BEAM, options_.beam_ir);
    Enable(IDC_BEAM_SETTINGS, options_.beam_ir);
    if (options_.has_time) ShowTime(options_.hour, options_.minute);
    SetDays(options_.days);
}

void CAlarmOptionsDlg::ShowCurrentTime() {
    ce::SYSTEMTIME now{};
    ce::GetLocalTime(&now);
    ShowTime(now.wHour, now.wMinute);
}

void CAlarmOptionsDlg::ShowTime(int hour, int minute) {
    int shown = hour;
    if (twelve_hours_) {
        if (CWnd* indicator = GetDlgItem(IDC_AMPM)) indicator->SetWindowText(hour >= 12 && hour <= 23 ? u"pm" : u"am");
        shown = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
    }
    SetField(IDC_HOUR, shown);
    SetField(IDC_MINUTE, minute);
    displayed_hour_ = shown;
}

void CAlarmOptionsDlg::SetField(int id, int value) {
    CWnd* field = GetDlgItem(id);
    if (field == nullptr) return;
    updating_ = true;
    field->SetWindowText(number_text(value));
    updating_ = false;
}

int CAlarmOptionsDlg::FieldValue(int id, int fallback) const {
    const CWnd* field = GetDlgItem(id);
    if (field == nullptr) return fallback;
    const std::u16string text = field->GetWindowText();
    const std::string digits(text.begin(), text.end());
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : fallback;
}

bool CAlarmOptionsDlg::IsChecked(int id) const {
    const auto* button = dynamic_cast<const CButton*>(GetDlgItem(id));
    return button != nullptr && button->GetCheck() == CButton::BST_CHECKED;
}

void CAlarmOptionsDlg::SetChecked(int id, bool checked) {
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
        button->SetCheck(checked ? CButton::BST_CHECKED : CButton::BST_UNCHECKED);
}

void CAlarmOptionsDlg::Enable(int id, bool enable) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(enable);
}

void CAlarmOptionsDlg::SetDays(std::uint8_t days) {
    for (const DayButton& day : kDayButtons) SetChecked(day.id, (days & day.bit) != 0);
    SetChecked(IDC_ALL, days == AlarmOptions::kEveryDay);
    SetChecked(IDC_ONCE, days == 0);
}

std::uint8_t CAlarmOptionsDlg::Days() const {
    std::uint8_t days = 0;
    for (const DayButton& day : kDayButtons)
        if (IsChecked(day.id)) days |= day.bit;
    if (IsChecked(IDC_ALL)) days = AlarmOptions::kEveryDay;
    if (IsChecked(IDC_ONCE)) days = 0;
    return days;
}

void CAlarmOptionsDlg::DayClicked(int id) {
    // All and Once keep the state the tap gave them; the days follow.
    if (id == IDC_ALL || id == IDC_ONCE) {
        for (const DayButton& day : kDayButtons) SetChecked(day.id, id == IDC_ALL);
        SetChecked(id == IDC_ALL ? IDC_ONCE : IDC_ALL, false);
        return;
    }
    const bool any = std::any_of(kDayButtons.begin(), kDayButtons.end(), [this](const DayButton& day) { return IsChecked(day.id); });
    const bool all = std::all_of(kDayButtons.begin(), kDayButtons.end(), [this](const DayButton& day) { return IsChecked(day.id); });
    if (IsChecked(id)) {
        SetChecked(IDC_ONCE, false);
        if (all) SetChecked(IDC_ALL, true);
    } else {
        SetChecked(IDC_ALL, false);
        if (!any) SetChecked(IDC_ONCE, true);
    }
}

// The one spinner steps the field the user is in: the hour within the clock's hours, the
// minute one past either end, so that MinuteChanged wraps it round.
void CAlarmOptionsDlg::FollowField(int id) {
    auto* spinner = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_SPIN));
    CWnd* field = GetDlgItem(id);
    if (spinner == nullptr || field == nullptr) return;
    updating_ = true;
    spinner->SetBuddy(nullptr);
    if (id == IDC_HOUR)
        spinner->SetRange(twelve_hours_ ? 1 : 0, twelve_hours_ ? 12 : 23);
    else
        spinner->SetRange(-1, 60);
    const bool empty = field->GetWindowText().empty();
    if (!empty) spinner->SetPos(FieldValue(id, 0));
    spinner->SetBuddy(field);
    updating_ = false;
}

void CAlarmOptionsDlg::HourChanged() {
    if (updating_ || GetDlgItem(IDC_HOUR)->GetWindowText().empty()) return;
    int hour = FieldValue(IDC_HOUR, 0);
    if (!twelve_hours_) {
        if (hour >= 24) hour = 0;
        if (hour < 0) hour = 23;
    } else {
        // A typed 13 and over would be saved as an hour past the end of the day.
        if (hour > 12) hour = 1;
        if ((displayed_hour_ == 11 && hour == 12) || (displayed_hour_ == 12 && hour == 11)) ToggleMarker();
    }
    if (hour != FieldValue(IDC_HOUR, 0)) SetField(IDC_HOUR, hour);
    displayed_hour_ = hour;
}

void CAlarmOptionsDlg::ToggleMarker() {
    CWnd* indicator = GetDlgItem(IDC_AMPM);
    if (indicator == nullptr || testing_) return;
    const std::u16string text = indicator->GetWindowText();
    indicator->SetWindowText(text.find(u"am") != std::u16string::npos || text.find(u"AM") != std::u16string::npos ? u"pm"
                                                                                                               : u"am");
}

void CAlarmOptionsDlg::MinuteChanged() {
    if (updating_ || GetDlgItem(IDC_MINUTE)->GetWindowText().empty()) return;
    const int typed = FieldValue(IDC_MINUTE, 0);
    const int minute = typed >= 60 ? 0 : typed < 0 ? 59 : typed;
    if (minute != typed) {
        SetField(IDC_MINUTE, minute);
        if (auto* spinner = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_SPIN)); spinner->GetBuddy() == GetDlgItem(IDC_MINUTE)) {
            updating_ = true;
            spinner->SetPos(minute);
            updating_ = false;
        }
    }
}

int CAlarmOptionsDlg::Hour24() const {
    int hour = FieldValue(IDC_HOUR, 0);
    if (!twelve_hours_) return hour;
    const std::u16string marker = GetDlgItem(IDC_AMPM)->GetWindowText();
    const bool am = marker.find(u"am") != std::u16string::npos || marker.find(u"AM") != std::u16string::npos;
    if (am) return hour == 12 ? 0 : hour;
    return hour == 12 ? 12 : hour + 12;
}

bool CAlarmOptionsDlg::OnCommand(ce::UINT id, ce::UINT code) {
    const int control = static_cast<int>(id);
    if (code == framework::EN_SETFOCUS) {
        if (control == IDC_HOUR || control == IDC_MINUTE) {
            FollowField(control);
            if (auto* field = dynamic_cast<CEdit*>(GetDlgItem(control))) field->SelectAllAfterTap();
        }
        return true;
    }
    if (code == framework::EN_CHANGE) {
        if (control == IDC_HOUR) HourChanged();
        if (control == IDC_MINUTE) MinuteChanged();
        return true;
    }
    if (is_day(control) || control == IDC_ALL || control == IDC_ONCE) {
        DayClicked(control);
        return true;
    }
    switch (control) {
        case IDC_BEAM: Enable(IDC_BEAM_SETTINGS, IsChecked(IDC_BEAM)); return true;
        case IDC_PLAY_SOUND: Enable(IDC_SOUND_SETTINGS, IsChecked(IDC_PLAY_SOUND)); return true;
        case IDC_SOUND_SETTINGS: ChooseSound(); return true;
        case IDC_MORE_OPTIONS: ChooseMoreOptions(); return true;
        case IDC_BEAM_SETTINGS: EditCommands(); return true;
        case IDC_TEST_ACTIONS: TestActions(); return true;
        case IDC_STOP: StopTest(); return true;
        default: return CMainBaseDlg::OnCommand(id, code);
    }
}

// Each form gets the values as they stand and gives them back only with OK.
void CAlarmOptionsDlg::ChooseSound() {
    if (options_.sound_path.empty() && !options_.missing_sound.empty())
        framework::MessageBox(this, MissingSoundText(), kTitle, framework::MB_OK | framework::MB_ICONWARNING);
    CSetSoundDlg form(this);
    form.SetSoundPath(options_.sound_path);
    form.SetVolume(options_.volume);
    form.SetPlayCount(options_.play_count);
    form.SetPauseSeconds(options_.pause_seconds);
    if (form.DoModal() != framework::IDOK) return;
    options_.sound_path = form.GetSoundPath();
    if (!options_.sound_path.empty()) options_.missing_sound.clear();
    options_.volume = form.GetVolume();
    options_.play_count = form.GetPlayCount();
    options_.pause_seconds = form.GetPauseSeconds();
}

void CAlarmOptionsDlg::ChooseMoreOptions() {
    CMoreOptionsDlg form(this);
    form.SetReplayMinutes(options_.replay_minutes);
    form.SetBeamOnRepeats(options_.beam_on_repeats);
    if (form.DoModal() != framework::IDOK) return;
    options_.replay_minutes = form.GetReplayMinutes();
    options_.beam_on_repeats = form.GetBeamOnRepeats();
}

std::u16string CAlarmOptionsDlg::MissingSoundText() const {
    return u"The sound " + options_.missing_sound + u" is gone (deleted, or on a card taken out).";
}

void CAlarmOptionsDlg::EditCommands() {
    CMacroEditorDlg form(this, options_.commands);
    form.DoModal();  // refills the list only with OK
}

void CAlarmOptionsDlg::TestActions() {
    const bool beams = IsChecked(IDC_BEAM) && !options_.commands.empty();
    if (!beams && !(IsChecked(IDC_PLAY_SOUND) && !options_.sound_path.empty())) {
        framework::MessageBox(this, kNothingToTest, kTitle, framework::MB_OK | framework::MB_ICONINFORMATION);
        return;
    }
    if (beams) {
        const std::u16string port = ComPortSetting::Read();
        if (port.empty()) {
            framework::MessageBox(this, kNoPort, kTitle, framework::MB_OK | framework::MB_ICONINFORMATION);
            return;
        }
        (void)CommandListCodebase::RunTest(options_.commands, folder_, port);
    }
    // Taps made while the signals went out were aimed at a form that was not listening.
    framework::InputDispatcher::DiscardQueuedInput();
    if (!IsChecked(IDC_PLAY_SOUND) || options_.sound_path.empty()) return;
    // A play the player refuses never reports its end: the test is over before it began.
    if (test_.Start(options_.sound_path, options_.volume, options_.play_count, options_.pause_seconds) !=
        CSoundWave::kPlaying) {
        test_.Stop();
        return;
    }
    ShowTesting(true);
}

void CAlarmOptionsDlg::StopTest() {
    test_.Stop();
    if (testing_) ShowTesting(false);
}

// While the sound plays only Stop, OK and Cancel take a tap (OK and Cancel stop it first).
void CAlarmOptionsDlg::ShowTesting(bool testing) {
    testing_ = testing;
    if (CWnd* test = GetDlgItem(IDC_TEST_ACTIONS)) test->ShowWindow(!testing);
    if (CWnd* stop = GetDlgItem(IDC_STOP)) stop->ShowWindow(testing);
    for (int id : {IDC_DESCRIPTION, IDC_HOUR, IDC_MINUTE, IDC_SPIN, IDC_SUNDAY, IDC_MONDAY, IDC_MONDAY + 1, IDC_MONDAY + 2,
                   IDC_MONDAY + 3, IDC_MONDAY + 4, IDC_SATURDAY, IDC_ALL, IDC_ONCE, IDC_BEAM, IDC_PLAY_SOUND,
                   IDC_MORE_OPTIONS, IDC_HELP_BUTTON})
        Enable(id, !testing);
    // A Settings button is only ever open to its ticked box.
    Enable(IDC_BEAM_SETTINGS, !testing && IsChecked(IDC_BEAM));
    Enable(IDC_SOUND_SETTINGS, !testing && IsChecked(IDC_PLAY_SOUND));
}

ce::LRESULT CAlarmOptionsDlg::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == WM_SOUND_ENDED) {
        if (testing_ && test_.OnSoundEnded() == TestSoundRun::Step::Over) StopTest();
        return 0;
    }
    return CMainBaseDlg::WindowProc(message, wParam, lParam);
}

void CAlarmOptionsDlg::OnTimer(ce::UINT_PTR id) {
    const TestSoundRun::Step step = test_.OnTimer(id);
    if (step == TestSoundRun::Step::Over) StopTest();
    if (step == TestSoundRun::Step::NotMine) CMainBaseDlg::OnTimer(id);
}

void CAlarmOptionsDlg::OnOK() {
    StopTest();
    std::u16string description = GetDlgItem(IDC_DESCRIPTION)->GetWindowText();
    if (std::all_of(description.begin(), description.end(), is_blank)) {
        framework::MessageBox(this, kNoDescription, kTitle, framework::MB_OK | framework::MB_ICONWARNING);
        GetDlgItem(IDC_DESCRIPTION)->SetFocus();
        return;
    }
    if (IsChecked(IDC_PLAY_SOUND)) {
        // Play sound ticked over no sound, or over one the file cannot keep, would ring silent.
        const std::u16string why = !options_.sound_path.empty()  ? SoundRefusal::PathText(options_.sound_path)
                                   : options_.missing_sound.empty() ? std::u16string(SoundRefusal::kNoSoundChosen)
                                                                    : MissingSoundText() + u" " + SoundRefusal::kNoSoundChosen;
        if (!why.empty()) {
            framework::MessageBox(this, why, kTitle, framework::MB_OK | framework::MB_ICONWARNING);
            return;
        }
    } else if (IsChecked(IDC_BEAM) && options_.commands.empty()) {
        framework::MessageBox(this, kNoSignalsChosen, kTitle, framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    AlarmOptions saved = options_;
    saved.description = std::move(description);
    saved.hour = Hour24();
    saved.minute = FieldValue(IDC_MINUTE, 0);
    saved.has_time = true;
    saved.days = Days();
    saved.play_sound = IsChecked(IDC_PLAY_SOUND);
    saved.beam_ir = IsChecked(IDC_BEAM);
    std::u16string file_name = file_name_;
    const auto result = AlarmOptionsFile::Save(folder_, file_name, saved);
    switch (result) {
        case AlarmOptionsFile::Saved::saved:
            options_ = std::move(saved);
            file_name_ = std::move(file_name);
            EndDialog(framework::IDOK);
            return;
        case AlarmOptionsFile::Saved::no_file_name:
            framework::MessageBox(this, kNoFileName, kTitle, framework::MB_OK | framework::MB_ICONERROR);
            return;
        case AlarmOptionsFile::Saved::macro_database:
            framework::MessageBox(this, kNoMacroDatabase, kTitle, framework::MB_OK | framework::MB_ICONERROR);
            return;
        case AlarmOptionsFile::Saved::same_time:
            framework::MessageBox(this, ArmedTime::kRefusal, kTitle, framework::MB_OK | framework::MB_ICONWARNING);
            return;
        case AlarmOptionsFile::Saved::signal_too_long:
            framework::MessageBox(this, kSignalTooLong, kTitle, framework::MB_OK | framework::MB_ICONERROR);
            return;
        case AlarmOptionsFile::Saved::failed: return;
    }
}

// A sound that went on after its form had gone would be nobody's to stop.
void CAlarmOptionsDlg::OnCancel() {
    StopTest();
    EndDialog(framework::IDCANCEL);
}
