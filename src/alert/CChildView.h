#pragma once
// The reminder: the view that performs the alarm due now. Created, it loads the alarm,
// arms its repeat, reschedules, beams the alarm's infrared commands, rings its sound the
// set number of times and turns the ringing clock. An alarm file another program holds
// at that moment rings the default sound, and the alarm itself once it can be read. The first tap anywhere silences it
// and takes the armed repeat back; Dismiss ends the alarm, Snooze moves its repeat on by
// the chosen length. Left alone, it goes off again whenever the wake program says so
// (WM_ALERT_REFIRE), for an hour at most.

#include <array>
#include <memory>
#include <string>

#include "alarms/CAlarmScheduler.h"
#include "alert/CAlertAnimation.h"
#include "alert/CMyButton.h"
#include "alert/CMyList.h"
#include "alert/ReminderAlarmFile.h"
#include "alert/ReminderBeaming.h"
#include "alert/StopBudget.h"
#include "framework/CBitmap.h"
#include "framework/CFont.h"
#include "framework/CView.h"

class CSoundWave;
class ReminderLayout;

class CChildView : public CView {
public:
    static constexpr int kDismissId = 600;
    static constexpr int kSnoozeId = 601;
    static constexpr int kLengthArrowId = 602;
    static constexpr int kLengthListId = 603;
    static constexpr int kPauseTimer = 40;
    static constexpr int kSnoozeEnableTimer = 41;
    static constexpr unsigned kSnoozeEnableMs = 600;
    // While another program holds the alarm's file, the reminder tries it this often.
    static constexpr int kBusyTimer = 42;
    static constexpr unsigned kBusyRetryMs = 1000;
    // Posted to itself as it is made: the beaming and the sound begin once the reminder
    // is in front and painted.
    static constexpr ce::UINT WM_BEGIN_RINGING = 0x0591;
    // Posted by the beaming's thread when the alarm's macro is over.
    static constexpr ce::UINT WM_BEAMING_DONE = 0x0592;

    CChildView();
    ~CChildView() override;

    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    bool PreTranslateMessage(ce::MSG* message) override;

protected:
    int OnCreate() override;
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& dc) override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnTimer(ce::UINT_PTR id) override;

private:
    enum Font { kDescriptionFont, kTimeFont, kAmPmFont, kLabelFont, kFontCount };

    ReminderLayout Layout() const;
    void CreateFonts();
    void CreateControls();
    void PlaceControls();
    CRect LengthListPlace(const ReminderLayout& layout) const;

    void Load();
    void Fire();
    void Armed();
    void RetryBusyAlarm();
    void BeginRinging();
    void BeamThenRing(bool first_firing);
    void OnBeamingDone();
    void RingSound();
    void PlayOnce();
    void StopSound();
    void Silence();
    void TakeRefireBack();
    void TellKivo();
    void OnSoundEnded();
    void OnPauseOver();
    void OnRefire();
    bool RefireOwed() const;
    void OnFirstTap(ce::MSG* message, bool& consumed);
    bool OnKey(ce::WPARAM key);
    void Dismiss();
    void Snooze();
    void OpenLengthList();
    void OnLengthListClosed(ce::WPARAM list, ce::LPARAM chosen);
    void HideLengthList();
    void Close();

    void ShowFireTime();
    void DrawTexts(CDC& dc, const ReminderLayout& layout);
    void DrawNote(CDC& dc, const ReminderLayout& layout);

    // What the alarm file gave for the firing shown now.
    std::u16string alarm_path_;
    // The instant the pending alarm was due for, and the alarms fired for it.
    CAlarmScheduler::Fired fired_;
    ReminderAlarmFile::Firing firing_;
    int plays_left_ = 1;
    int snooze_index_;
    bool pause_timer_running_ = false;
    bool beep_instead_ = false;  // the sound cannot be played this firing
    bool answered_ = false;  // Dismiss, Snooze or the automatic stop: the view only waits to go
    bool ring_first_ = false;  // the sound due after the beaming is the first firing's
    bool twelve_hours_;
    StopBudget budget_;

    std::unique_ptr<CSoundWave> player_;
    std::array<CFont, kFontCount> fonts_;
    CBitmap background_;
    CBitmap sky_;  // round the background, to the edges of a longer screen
    CMyButton dismiss_;
    CMyButton snooze_;
    CMyButton length_arrow_;
    CMyList length_list_;
    std::unique_ptr<CAlertAnimation> animation_;
    // Last: its thread is over before anything else of the view goes.
    ReminderBeaming beaming_;
};
