#pragma once
// "Alarm Options": makes a new alarm or changes one. The description, the time (12- or
// 24-hour as the user's clock), the days, and what the reminder does (beam the command
// list, play the sound, repeat); Test Actions runs them now. OK writes the alarm file and
// its codebase; DoModal answers IDOK or IDCANCEL, and after IDOK FileName() is the
// saved alarm's file.

#include <string>

#include "forms/CMainBaseDlg.h"
#include "forms/TestSoundRun.h"
#include "kivo/AlarmOptions.h"

class CAlarmOptionsDlg : public CMainBaseDlg {
public:
    static constexpr int kPortrait = 131;
    static constexpr int kLandscape = 1131;
    static constexpr int kSquare = 2131;

    static constexpr int IDC_DESCRIPTION = 1004;
    static constexpr int IDC_HOUR = 2336;
    static constexpr int IDC_SPIN = 2337;
    static constexpr int IDC_MINUTE = 2338;
    static constexpr int IDC_AMPM = 2344;
    static constexpr int IDC_SUNDAY = 1008;
    static constexpr int IDC_MONDAY = 1017;  // 1017-1022: Monday to Saturday
    static constexpr int IDC_SATURDAY = 1022;
    static constexpr int IDC_ALL = 1015;
    static constexpr int IDC_ONCE = 1016;
    static constexpr int IDC_BEAM = 1023;
    static constexpr int IDC_BEAM_SETTINGS = 1025;
    static constexpr int IDC_PLAY_SOUND = 1024;
    static constexpr int IDC_SOUND_SETTINGS = 1006;
    static constexpr int IDC_MORE_OPTIONS = 1026;
    static constexpr int IDC_TEST_ACTIONS = 1027;
    static constexpr int IDC_STOP = 1030;
    // Decoration: the labels and group boxes.
    static constexpr int IDC_DESCRIPTION_LABEL = 1040;
    static constexpr int IDC_TIME_LABEL = 1041;
    static constexpr int IDC_COLON = 1042;
    static constexpr int IDC_OCCURS = 1043;
    static constexpr int IDC_ACTIONS = 1044;

    static constexpr int IDS_HELP = 304;
    static constexpr const char16_t* kNoFileName = u"Error of creating the Alarm file";
    static constexpr const char16_t* kNoMacroDatabase = u"Fail to open macro database";
    static constexpr const char16_t* kNoPort = u"Set COM port";
    static constexpr const char16_t* kNoDescription = u"Type what the alarm is for, then tap OK.";
    static constexpr const char16_t* kNothingToTest =
        u"Tick Beam infrared signals or Play sound, and set them up, to test them.";
    // Beaming asked for over an empty list, with no sound: the alarm would ring silent.
    static constexpr const char16_t* kNoSignalsChosen =
        u"Add the infrared signals to beam, or untick Beam infrared signals.";
    static constexpr const char16_t* kSignalTooLong =
        u"A signal of the infrared list is too long to keep. Learn it again, or delete it.";

    // An empty `file_name` makes a new alarm in `folder` (which ends in "\").
    CAlarmOptionsDlg(CWnd* parent, std::u16string folder, std::u16string file_name);

    // Adds the form's templates to the program's (once).
    static void RegisterTemplates();

    // Reads the alarm to edit before the form is shown: false when it cannot be read now
    // (the store held by another program, a damaged file), and the form must not open on
    // defaults that its OK would write over the alarm.
    bool LoadAlarm();

    const std::u16string& FileName() const { return file_name_; }
    bool UsesTwelveHours() const { return twelve_hours_; }
    // The values the sub-forms edit, as they stand.
    const AlarmOptions& Options() const { return options_; }
    // A test sound is playing (Stop is shown).
    bool IsTesting() const { return testing_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    void OnTimer(ce::UINT_PTR id) override;
    void OnOK() override;
    void OnCancel() override;
    HelpPage GetHelpPage() const override;

private:
    void ShowTime(int hour, int minute);
    void ShowOptions();
    void ShowCurrentTime();
    void SetDays(std::uint8_t days);
    std::uint8_t Days() const;
    void DayClicked(int id);
    void FollowField(int id);
    void HourChanged();
    void ToggleMarker();
    void MinuteChanged();
    // The hour 0-23 the fields and the am/pm indicator stand for.
    int Hour24() const;
    int FieldValue(int id, int fallback) const;
    void SetField(int id, int value);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    void Enable(int id, bool enable);
    // Names the alarm's sound that is no longer there.
    std::u16string MissingSoundText() const;
    void ChooseSound();
    void ChooseMoreOptions();
    void EditCommands();
    void TestActions();
    void StopTest();
    void ShowTesting(bool testing);

    std::u16string folder_;
    std::u16string file_name_;
    bool twelve_hours_ = false;
    AlarmOptions options_;
    int displayed_hour_ = -1;
    // Set while the form writes a time field itself, so the change is not taken for the user's.
    bool updating_ = false;
    bool testing_ = false;
    bool loaded_ = false;
    TestSoundRun test_{*this};
};
