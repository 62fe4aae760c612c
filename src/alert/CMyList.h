#pragma once
// The list of snooze lengths that drops open under the reminder's length arrow: eight
// rows, a border and a scroll bar. A tap on a row selects it, a tap on the selected row
// chooses it; either way, or when the list loses the focus, it tells its parent with
// WM_PICKER_CLOSED (wParam its id, lParam the chosen row, or -1 for none).

#include <QPointer>

#include "framework/CWnd.h"

class QScrollBar;

inline constexpr ce::UINT WM_PICKER_CLOSED = 0x0590;

class CMyList : public CWnd {
public:
    static constexpr int kRows = 8;
    static constexpr int kRowDesignHeight = 16;
    static constexpr int kBorder = 1;  // pixels

    // Hidden at `place` (screen pixels) in `parent`.
    bool Create(CWnd* parent, const CRect& place, int id);
    void MoveTo(const CRect& place);
    // Shows row `index` selected, scrolled to just below the top.
    void SetSelection(int index);
    int Selection() const { return selection_; }
    int TopRow() const { return top_; }

protected:
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT /*flags*/, CPoint /*point*/) override {}
    void OnMouseMove(ce::UINT /*flags*/, CPoint /*point*/) override {}
    void OnKillFocus() override;

private:
    int RowHeight() const;
    int RowsShown() const;
    void ScrollTo(int top);
    void LayOutScrollBar();

    QPointer<QScrollBar> scroll_bar_;
    int selection_ = 0;
    int top_ = 0;
};
