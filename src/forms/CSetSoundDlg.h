#pragma once
// "Assign a Sound to Alarm": the alarm's WAV file, its volume, how many times it plays
// and the pause between plays, with a "Test Sound" that plays it as the reminder will.
// The caller sets the values, runs the form and reads them back after IDOK; the setters
// put out-of-range values back to the defaults, as an alarm file may hold anything.

#include <string>

#include "forms/CMainBaseDlg.h"
#include "forms/TestSoundRun.h"

class CSetSoundDlg : public CMainBaseDlg {
public:
    static constexpr int kTemplate = 132;

    static constexpr int IDC_SOUND_PATH = 1030;
    static constexpr int IDC_BROWSE = 1031;
    static constexpr int IDC_VOLUME = 1032;
    static constexpr int IDC_PLAY_COUNT = 1033;
    static constexpr int IDC_PAUSE = 1034;
    static constexpr int IDC_VOLUME_LABEL = 1035;
    static constexpr int IDC_PLAY_LABEL = 1036;
    static constexpr int IDC_TIMES_LABEL = 1037;
    static constexpr int IDC_WITH_LABEL = 1038;
    static constexpr int IDC_PAUSE_LABEL = 1039;
    static constexpr int IDC_TEST_SOUND = 1027;
    static constexpr int IDC_STOP = 1028;

    static constexpr int kDefaultVolume = 6;
    static constexpr int kDefaultPlayCount = 1;
    // The help page's text in the program's strings.
    static constexpr int IDS_HELP = 305;

    explicit CSetSoundDlg(CWnd* parent = nullptr);
    ~CSetSoundDlg() override;

    // Adds the form's template to the program's (once).
    static void RegisterTemplates();

    void SetSoundPath(const std::u16string& path) { sound_path_ = path; }
    const std::u16string& GetSoundPath() const { return sound_path_; }
    // 1..10; anything else becomes 6.
    void SetVolume(int volume);
    int GetVolume() const { return volume_; }
    // 1..10; anything else becomes 1.
    void SetPlayCount(int count);
    int GetPlayCount() const { return play_count_; }
    // Kept as given; one the pause list does not offer shows (and gives back) 0.
    void SetPauseSeconds(int seconds) { pause_seconds_ = seconds; }
    int GetPauseSeconds() const { return pause_seconds_; }

    bool IsTesting() const { return testing_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    void OnTimer(ce::UINT_PTR id) override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    // A plain form from edge to edge: its buttons lie where the small forms' border runs,
    // so only the line under the caption is drawn.
    void DrawBackground(CDC& dc) override { DrawCaptionRule(dc); }
    void OnOK() override;
    void OnCancel() override;
    HelpPage GetHelpPage() const override;

private:
    void FillLists();
    void Layout();
    void StartTest();
    void StopTest();
    void ShowRefusal(ce::DWORD code);
    void ChooseFile();
    void SetTestingControls(bool testing);
    int ChosenVolume() const;
    int ChosenPlayCount() const;
    int ChosenPause() const;
    // OK, Cancel and "..." wait while a sound plays.
    bool PlayerBusy() const { return test_.IsPlayerOpen(); }

    std::u16string sound_path_;
    int volume_ = kDefaultVolume;
    int play_count_ = kDefaultPlayCount;
    int pause_seconds_ = 0;
    bool testing_ = false;
    TestSoundRun test_;
};
