#pragma once
// A picture button of the reminder: its up picture, or its pressed one while the stylus
// holds it down, stretched to the screen's scale. A tap tells the parent its command.

#include "framework/CBitmap.h"
#include "framework/CButton.h"

class CMyButton : public CButton {
public:
    // The button `id` of `parent` at `place` (screen pixels), drawn from two bitmaps.
    bool Create(CWnd* parent, const CRect& place, int id, int up_bitmap, int pressed_bitmap);

protected:
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }

private:
    CBitmap up_;
    CBitmap pressed_;
};
