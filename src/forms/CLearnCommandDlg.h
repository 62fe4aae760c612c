#pragma once
// "Learning IR Signal": tells the user to hold the remote's button, then captures the
// signal as soon as it is on the screen. The capture runs on a thread of its own, so the
// form answers meanwhile: Cancel (or Escape) gives the capture up at once. DoModal ends
// with 1 when a signal was learned (after "Learned with success!"), 2 when nothing was
// (after "Time out!" or "Failed to learn IR signal!", or silently without a driver or
// after Cancel). The caller sets the driver's port before, and plays the beep and
// releases the driver after.

#include <thread>

#include "forms/CMainBaseDlg.h"
#include "irlib/card/signal_record.h"

class CIrDrvr;

class CLearnCommandDlg : public CMainBaseDlg {
public:
    static constexpr int kTemplate = 532;
    static constexpr int kLandscape = 677;
    static constexpr int IDC_INSTRUCTIONS = 2116;
    static constexpr int kLearned = 1;
    static constexpr int kNotLearned = 2;
    // Posted to itself as it opens: the capture starts once the form is shown.
    static constexpr ce::UINT WM_START_LEARNING = 0x0400;
    // Posted by the capture's thread with the driver's result in wParam.
    static constexpr ce::UINT WM_LEARNING_DONE = 0x0401;

    explicit CLearnCommandDlg(CWnd* parent);
    ~CLearnCommandDlg() override;

    // Adds the form's template to the program's (once).
    static void RegisterTemplates();

    // The learned signal (µs, lead-in then one repeat frame); empty unless DoModal gave 1.
    const platform::card::signal_data& Learned() const { return learned_; }

protected:
    bool OnInitDialog() override;
    // Only a learned signal ends the form as learned: Enter (the form's OK) does nothing.
    void OnOK() override {}
    void OnCancel() override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;

private:
    void Learn();
    void OnLearningDone(int code);
    // Gives a capture under way up and waits for its thread.
    void EndCapture();

    platform::card::signal_data learned_;
    bool started_ = false;
    bool cancelled_ = false;
    CIrDrvr* driver_ = nullptr;  // taken by Learn, released when the capture has reported
    std::jthread capture_;
};
