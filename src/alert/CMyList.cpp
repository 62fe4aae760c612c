#include "alert/CMyList.h"

#include <QScrollBar>
#include <algorithm>

#include "alert/SnoozeTable.h"
#include "framework/CDC.h"
#include "framework/Colors.h"
#include "framework/Screen.h"

namespace {

constexpr int kScrollBarDesignWidth = 13;

}  // namespace

bool CMyList::Create(CWnd* parent, const CRect& place, int id) {
    if (!CWnd::Create(parent, place, id)) return false;
    widget()->setFocusPolicy(Qt::StrongFocus);
    scroll_bar_ = new QScrollBar(Qt::Vertical, widget());
    // The list keeps the focus while its bar is used: losing it closes the list.
    scroll_bar_->setFocusPolicy(Qt::NoFocus);
    scroll_bar_->setRange(0, kRows - 1);
    QObject::connect(scroll_bar_, &QScrollBar::valueChanged, scroll_bar_, [this](int top) { ScrollTo(top); });
    LayOutScrollBar();
    ShowWindow(false);
    return true;
}

void CMyList::MoveTo(const CRect& place) {
    MoveWindow(place);
    LayOutScrollBar();
}

void CMyList::LayOutScrollBar() {
    if (scroll_bar_ == nullptr) return;
    const int width = framework::Screen::current().ScaleX(kScrollBarDesignWidth);
    const QRect area = widget()->rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    scroll_bar_->setGeometry(area.right() + 1 - width, area.top(), width, area.height());
    scroll_bar_->setPageStep(RowsShown());
}

int CMyList::RowHeight() const { return std::max(1, framework::Screen::current().ScaleY(kRowDesignHeight)); }

int CMyList::RowsShown() const {
    CRect client;
    GetClientRect(&client);
    return std::max(1, (client.Height() - 2 * kBorder) / RowHeight());
}

void CMyList::ScrollTo(int top) {
    top_ = std::clamp(top, 0, kRows - 1);
    if (scroll_bar_ != nullptr && scroll_bar_->value() != top_) scroll_bar_->setValue(top_);
    Invalidate();
}

void CMyList::SetSelection(int index) {
    selection_ = index;
    ScrollTo(index > 0 ? index - 1 : 0);
}

void CMyList::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_WINDOW));
    dc.SelectPen(kBorder, framework::RGB(0, 0, 0));
    dc.MoveTo(0, 0);
    dc.LineTo(client.right - 1, 0);
    dc.LineTo(client.right - 1, client.bottom - 1);
    dc.LineTo(0, client.bottom - 1);
    dc.LineTo(0, 0);
    const int text_right = scroll_bar_ != nullptr ? scroll_bar_->geometry().left() : client.right - kBorder;
    const int height = RowHeight();
    for (int row = top_; row < kRows; ++row) {
        const int top = kBorder + (row - top_) * height;
        if (top >= client.bottom - kBorder) break;
        const CRect line{kBorder, top, text_right, std::min(top + height, client.bottom - kBorder)};
        const bool selected = row == selection_;
        if (selected) dc.FillSolidRect(line, framework::GetSysColor(framework::COLOR_HIGHLIGHT));
        dc.SetTextColor(framework::GetSysColor(selected ? framework::COLOR_HIGHLIGHTTEXT : framework::COLOR_WINDOWTEXT));
        dc.DrawText(SnoozeTable::Label(row), {line.left + 3, line.top, line.right, line.bottom},
                    CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
    }
}

void CMyList::OnLButtonDown(ce::UINT /*flags*/, CPoint point) {
    // One tap chooses the length and closes the list: a person who tapped "10 min" meant it.
    const int row = (point.y - kBorder) / RowHeight() + top_;
    if (row < 0 || row >= kRows) return;
    selection_ = row;
    Invalidate();
    GetParent()->WindowProc(WM_PICKER_CLOSED, static_cast<ce::WPARAM>(GetDlgCtrlID()), selection_);
}

void CMyList::OnKillFocus() {
    if (IsWindowVisible() && GetParent() != nullptr)
        GetParent()->WindowProc(WM_PICKER_CLOSED, static_cast<ce::WPARAM>(GetDlgCtrlID()), -1);
}
