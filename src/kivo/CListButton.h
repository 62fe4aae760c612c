#pragma once
// One of the buttons under the alarm list: a symbol over its label, drawn pushed while
// the stylus holds it; lifting the stylus on it sends its command to the view.

#include "framework/CWnd.h"
#include "kivo/RowArt.h"

class CListButton : public CWnd {
public:
    CListButton(RowArt::Picture symbol, const char16_t* label);
    ~CListButton() override;

    bool Create(CWnd* parent, int id);

protected:
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT flags, CPoint point) override;

private:
    RowArt::Picture symbol_;
    const char16_t* label_;
    const RowArt& art_;
    bool pushed_ = false;
};
