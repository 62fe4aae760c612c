#pragma once
// "Add IR Signal" / "Edit IR Signal": one signal of the command list. Learn captures it
// from the remote through the port chosen in Infrared Setup (the previous signal is
// dropped as learning starts), Advanced sets how it repeats, Test beams it as set, and
// a comment names its line. OK is refused until the form holds a signal.
//
// What Test sends, by repeat mode, is what SignalTestPasses says: Default 3 passes,
// "Repeat 1 times" one, any other count 3, "Repeat for" one pass plus one repeat frame
// per frame's length until the duration is covered (at most 201); each pass after the
// first is the repeat frame alone, so 3 passes of a learned NEC press are the remote's
// lead-in and frame, then its frame twice, as the remote sends them while held.

#include <string>

#include "forms/CMainBaseDlg.h"
#include "forms/CTestButton.h"
#include "irlib/card/signal_record.h"

class CCommandDlg : public CMainBaseDlg {
public:
    static constexpr int kPortrait = 521;
    static constexpr int kLandscape = 522;
    static constexpr int kSquare = 669;

    static constexpr int IDC_TEST = 2108;
    static constexpr int IDC_COMMENT = 2110;
    static constexpr int IDC_COMMENT_LABEL = 2111;
    static constexpr int IDC_HINT = 2112;
    static constexpr int IDC_LEARN = 2113;
    static constexpr int IDC_ADVANCED = 2114;
    static constexpr int IDC_SIGNAL_STATE = 2115;
    static constexpr int IDC_PORT = 2036;
    static constexpr int IDC_PORT_LABEL = 2037;
    static constexpr int kCommentCharacters = 100;
    static constexpr const char16_t* kNoSignal = u"You should learn signal before exit.";

    // A new signal: nothing preset.
    CCommandDlg(CWnd* parent, int repeat_mode, int duration_ms, std::u16string comment);
    // Editing a signal: its durations, repeat start and carrier preset.
    CCommandDlg(CWnd* parent, int repeat_mode, int duration_ms, std::u16string comment,
                platform::card::signal_data signal);

    static void RegisterTemplates();

    const std::u16string& Comment() const { return comment_; }
    int RepeatMode() const { return repeat_mode_; }
    int DurationMs() const { return duration_ms_; }
    const platform::card::signal_data& Signal() const { return signal_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    void Learn();
    void ShowAdvanced();
    void Test();
    void ShowSignalState();

    int repeat_mode_;
    int duration_ms_;
    std::u16string comment_;
    platform::card::signal_data signal_;
    bool edit_;
    std::u16string port_;
    CTestButton test_button_;
};
