#pragma once
// "Learning IR Signal": tells the user to hold the remote's button, then captures the
// signal as soon as it is on the screen. DoModal ends with 1 when a signal was learned
// (after "Learned with success!"), 2 when nothing was (after "Time out!" or "Failed to
// learn IR signal!", or silently without a driver). The caller sets the driver's port
// before, and plays the beep and releases the driver after.

#include "forms/CMainBaseDlg.h"
#include "irlib/card/signal_record.h"

class CLearnCommandDlg : public CMainBaseDlg {
public:
    static constexpr int kTemplate = 532;
    static constexpr int IDC_INSTRUCTIONS = 2116;
    static constexpr int kLearned = 1;
    static constexpr int kNotLearned = 2;
    // Posted to itself as it opens: the capture starts once the form is shown.
    static constexpr ce::UINT WM_START_LEARNING = 0x0400;

    explicit CLearnCommandDlg(CWnd* parent);

    // Adds the form's template to the program's (once).
    static void RegisterTemplates();

    // The learned signal (µs, lead-in then one repeat frame); empty unless DoModal gave 1.
    const platform::card::signal_data& Learned() const { return learned_; }

protected:
    bool OnInitDialog() override;
    // Only a learned signal ends the form as learned: Enter (the form's OK) does nothing.
    void OnOK() override {}
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;

private:
    void Learn();

    platform::card::signal_data learned_;
    bool started_ = false;
};
