#pragma once
// The ringing clock beside the time: forty pictures shown in turn, one more on every
// tick of its timer, drawn at the screen's scale.

#include <array>

#include "framework/CBitmap.h"
#include "framework/CWnd.h"

class CAlertAnimation : public CWnd {
public:
    static constexpr int kId = 0xFFFF;
    static constexpr int kTimer = 105;
    static constexpr unsigned kPeriodMs = 120;
    static constexpr int kFirstFrame = 130;
    static constexpr int kLastFrame = 169;

    // Placed at `place` (screen pixels) in `parent`; starts turning at once.
    bool Create(CWnd* parent, const CRect& place);
    int Frame() const { return frame_; }
    // A silenced alarm shows its clock standing still; a repeat sets it ringing again.
    void Ring(bool ringing);

protected:
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnTimer(ce::UINT_PTR id) override;

private:
    int frame_ = kFirstFrame;
    // Each picture is read from the resources the first time it is shown.
    std::array<CBitmap, kLastFrame - kFirstFrame + 1> pictures_;
};
