#pragma once
// The small bitmap button that opens a form's help: drawn from its up and pressed
// bitmaps (pure green is transparent), it tells its parent its command only when the
// stylus is lifted over it, so sliding off before lifting cancels the tap.

#include "framework/CBitmap.h"
#include "framework/CWnd.h"

class CHelpButton : public CWnd {
public:
    static constexpr int kUpBitmap = 539;
    static constexpr int kPressedBitmap = 538;

    CHelpButton();
    // Takes over control `id` of the form and sizes it to the up bitmap (times the
    // screen's scale, like every measure of the form base).
    bool AttachToControl(int id, CWnd* form, int scale);
    bool IsUp() const { return up_; }

protected:
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnMouseMove(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT flags, CPoint point) override;

private:
    bool Inside(CPoint point) const;

    CBitmap up_bitmap_;
    CBitmap pressed_bitmap_;
    bool up_ = true;
};
