#pragma once
// The running clock above the alarm list: hours and minutes large, seconds small, in
// the 12- or 24-hour form of the handheld's regional settings as they are now (the rows'
// form), and the date: below them in portrait, beside them in landscape, where the clock is
// too low for a line of its own. It draws off the screen and repaints only when the shown
// second changes.

#include <string>

#include "ce/Time.h"
#include "framework/CBitmap.h"
#include "framework/CFont.h"
#include "framework/CWnd.h"

class CClock : public CWnd {
public:
    static constexpr ce::UINT_PTR kTimer = 1;
    static constexpr ce::UINT kTickMs = 250;

    // "TUE.DEC.08.26".
    static std::u16string DateLine(const ce::SYSTEMTIME& time);

    // Whether the date goes beside the time rather than below it.
    void SetDateBeside(bool beside);

protected:
    int OnCreate() override;
    void OnTimer(ce::UINT_PTR id) override;
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnSize(ce::UINT type, int cx, int cy) override;

private:
    void Show(const ce::SYSTEMTIME& now);
    void Draw(CDC& dc, const CRect& client);

    ce::SYSTEMTIME shown_{};
    std::u16string figures_;  // hours and minutes as the user's format writes them
    bool twelve_hours_ = false;
    bool date_beside_ = false;
    CBitmap off_screen_;
    bool stale_ = true;
    CFont large_;
    CFont seconds_;
    CFont date_;
};
