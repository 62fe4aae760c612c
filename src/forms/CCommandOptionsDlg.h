#pragma once
// "Advanced Options": how a signal repeats when it is beamed. Default (the signal's own
// rule), Repeat N times (1-99), or Repeat for S.T seconds (0.1-9.9); only the fields of
// the chosen way are enabled. One spinner serves the times field, another the seconds
// and tenths, stepping whichever of the two was tapped.

#include "forms/CInputBaseDlg.h"
#include "forms/FieldSpinner.h"

class CCommandOptionsDlg : public CInputBaseDlg {
public:
    static constexpr int kTemplate = 534;
    static constexpr int kLandscape = 672;
    static constexpr int IDC_DEFAULT = 2025;
    static constexpr int IDC_REPEAT = 2026;
    static constexpr int IDC_REPEAT_FOR = 2027;
    static constexpr int IDC_TIMES_SPIN = 2029;
    static constexpr int IDC_DURATION_SPIN = 2031;
    static constexpr int IDC_TIMES = 2032;
    static constexpr int IDC_SECONDS = 2204;
    static constexpr int IDC_TENTHS = 2205;
    static constexpr int IDC_PROMPT = 2200;
    static constexpr int IDC_TIMES_LABEL = 2201;
    static constexpr int IDC_POINT = 2202;
    static constexpr int IDC_SECONDS_LABEL = 2203;
    static constexpr const char16_t* kNoRepeat = u"Repeat the signal at least once, then tap OK.";
    static constexpr const char16_t* kNoDuration = u"Send the signal for longer than 0.0 s, then tap OK.";

    CCommandOptionsDlg(CWnd* parent, int repeat_mode, int duration_ms);

    static void RegisterTemplates();

    int RepeatMode() const { return repeat_mode_; }
    int DurationMs() const { return duration_ms_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    bool PreTranslateMessage(ce::MSG* message) override;
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    int Chosen() const;
    void Choose(int radio);

    int repeat_mode_;
    int duration_ms_;
    FieldSpinner times_;
    FieldSpinner duration_;
};
