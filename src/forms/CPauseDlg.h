#pragma once
// "Add Pause" / "Edit Pause": a pause of 0.1 to 9.9 seconds, whole seconds and tenths
// in two one-digit edits with one spinner that steps whichever was tapped. OK is refused
// while the pause is 0.0 seconds.

#include "forms/CInputBaseDlg.h"
#include "forms/FieldSpinner.h"

class CPauseDlg : public CInputBaseDlg {
public:
    static constexpr int kTemplate = 530;
    static constexpr int kLandscape = 671;
    static constexpr int IDC_PROMPT = 2102;
    static constexpr int IDC_SECONDS = 2103;
    static constexpr int IDC_TENTHS = 2104;
    static constexpr int IDC_SPIN = 2106;
    static constexpr int IDC_PAUSE_LABEL = 2109;
    static constexpr int IDC_POINT = 2111;
    static constexpr int IDC_UNIT = 2115;
    // A new pause (-1) starts at half a second.
    static constexpr int kNewPause = -1;
    static constexpr const char16_t* kNoPause = u"Set a pause longer than 0.0 s, then tap OK.";
    static constexpr int kNewPauseMs = 500;

    CPauseDlg(CWnd* parent, int pause_ms);

    static void RegisterTemplates();

    // The pause in ms after OK.
    int PauseMs() const { return pause_ms_; }

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(ce::MSG* message) override;
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    int pause_ms_;
    bool new_pause_;
    FieldSpinner spinner_;
};
