#pragma once
// "Alarm Options, More...": how long an unanswered alarm waits before it goes off again,
// and whether it beams its infrared commands again each time. The caller sets the
// values, runs the form and reads them back after IDOK.

#include "forms/CMainBaseDlg.h"

class CMoreOptionsDlg : public CMainBaseDlg {
public:
    static constexpr int kTemplate = 541;

    static constexpr int IDC_REPLAY = 2340;
    static constexpr int IDC_NO_BEAM = 2343;
    static constexpr int IDS_HELP = 306;

    static constexpr int kDefaultReplayMinutes = 5;

    explicit CMoreOptionsDlg(CWnd* parent = nullptr);

    // Adds the form's template to the program's (once).
    static void RegisterTemplates();

    // Kept as given; one the list does not offer shows "5 min".
    void SetReplayMinutes(int minutes) { replay_minutes_ = minutes; }
    int GetReplayMinutes() const { return replay_minutes_; }
    // 0: the commands are beamed only when the alarm first goes off.
    void SetBeamOnRepeats(int beam) { beam_on_repeats_ = beam; }
    int GetBeamOnRepeats() const { return beam_on_repeats_; }

protected:
    bool OnInitDialog() override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    // A plain form from edge to edge: its buttons lie where the small forms' border runs,
    // so only the line under the caption is drawn.
    void DrawBackground(CDC& dc) override { DrawCaptionRule(dc); }
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    void Layout();

    int replay_minutes_ = kDefaultReplayMinutes;
    int beam_on_repeats_ = 0;
};
