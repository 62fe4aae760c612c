#include "kivo/CAlarmListCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "alarms/ArmedTime.h"
#include "framework/CDC.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"
#include "kivo/KivoIds.h"
#include "kivo/ListPalette.h"

namespace {

int row_height_on_screen() { return framework::Screen::current().ScaleX(50); }

}  // namespace

CAlarmListCtrl::CAlarmListCtrl() : row_height_(row_height_on_screen()) {}

int CAlarmListCtrl::OnCreate() { return 0; }

CAlarmItem* CAlarmListCtrl::Row(int index) const {
    return index >= 0 && index < Count() ? rows_[static_cast<std::size_t>(index)].get() : nullptr;
}

int CAlarmListCtrl::InsertSorted(std::unique_ptr<CAlarmItem> row, std::optional<int> requested) {
    const int time = row->TimeOfDay();
    int at = Count();
    const auto later = std::find_if(rows_.begin(), rows_.end(), [&](const auto& other) { return other->TimeOfDay() > time; });
    if (later != rows_.end()) at = static_cast<int>(later - rows_.begin());
    else if (requested && *requested >= 0 && *requested < Count()) at = *requested;
    rows_.insert(rows_.begin() + at, std::move(row));
    if (selected_ >= at) ++selected_;
    Invalidate();
    return at;
}

int CAlarmListCtrl::Resort(int index) {
    if (Row(index) == nullptr) return index;
    const int time = rows_[static_cast<std::size_t>(index)]->TimeOfDay();
    // The place after the last other row not later than it, counted without the row itself.
    // Every row is looked at: a long list stays in order whatever the edit.
    int place = 0;
    int other_index = 0;
    for (int other = 0; other < Count(); ++other) {
        if (other == index) continue;
        ++other_index;
        if (rows_[static_cast<std::size_t>(other)]->TimeOfDay() <= time) place = other_index;
    }
    auto row = std::move(rows_[static_cast<std::size_t>(index)]);
    rows_.erase(rows_.begin() + index);
    rows_.insert(rows_.begin() + place, std::move(row));
    if (selected_ == index) {
        selected_ = place;
    } else if (selected_ >= 0) {
        if (selected_ > index) --selected_;
        if (selected_ >= place) ++selected_;
    }
    Invalidate();
    return place;
}

void CAlarmListCtrl::RemoveRow(int index) {
    if (Row(index) == nullptr) return;
    rows_.erase(rows_.begin() + index);
    if (selected_ == index) selected_ = -1;
    else if (selected_ > index) --selected_;
    ScrollTo(first_visible_);
    Invalidate();
}

void CAlarmListCtrl::Select(int index) {
    selected_ = Row(index) != nullptr ? index : -1;
    if (selected_ >= 0) EnsureVisible(selected_);
    Invalidate();
}

std::optional<int> CAlarmListCtrl::ActiveRowAt(int hour, int minute, int except) const {
    for (int index = 0; index < Count(); ++index) {
        const CAlarmItem& row = *rows_[static_cast<std::size_t>(index)];
        if (index != except && row.active != 0 && row.hour == hour && row.minute == minute) return index;
    }
    return std::nullopt;
}

int CAlarmListCtrl::VisibleRows() const {
    CRect client;
    GetClientRect(&client);
    return std::max(1, client.Height() / std::max(1, row_height_));
}

void CAlarmListCtrl::ScrollTo(int first) {
    const int last_first = std::max(0, Count() - VisibleRows());
    const int clamped = std::clamp(first, 0, last_first);
    if (clamped == first_visible_) return;
    first_visible_ = clamped;
    Invalidate();
}

void CAlarmListCtrl::EnsureVisible(int index) {
    if (index < first_visible_) ScrollTo(index);
    else if (index >= first_visible_ + VisibleRows()) ScrollTo(index - VisibleRows() + 1);
}

void CAlarmListCtrl::OnSize(ce::UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    // Measured again with the layout: a new dpi lays the list out again.
    row_height_ = row_height_on_screen();
    // The picture of the old size is of no use; the next paint makes one that fits.
    off_screen_ = CBitmap();
    ScrollTo(first_visible_);
    if (selected_ >= 0) EnsureVisible(selected_);
}

void CAlarmListCtrl::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return;
    if (!off_screen_.IsLoaded() && !off_screen_.CreateBitmap(client.Width(), client.Height())) return;
    {
        CDC memory(off_screen_.surface());
        PaintRows(memory, client);
        PaintScrollMark(memory, client);
    }
    dc.StretchBlt(client, off_screen_);
}

void CAlarmListCtrl::PaintRows(CDC& dc, const CRect& client) {
    int top = 0;
    // The rows keep clear of the scroll bar.
    const int right = Overflows() ? client.right - ScrollBarWidth() : client.right;
    for (int index = first_visible_; index < Count() && top < client.bottom; ++index, top += row_height_)
        rows_[static_cast<std::size_t>(index)]->Draw(dc, {0, top, right, top + row_height_}, index == selected_);
    if (top < client.bottom) dc.FillSolidRect({0, top, client.right, client.bottom}, framework::GetSysColor(framework::COLOR_WINDOW));
    if (Count() == 0) {
        dc.SetTextColor(kivo_palette::kMuted);
        dc.DrawText(u"No alarms yet.\nTap Add to make one.", client, CDC::DT_CENTER | CDC::DT_VCENTER | CDC::DT_WORDBREAK);
    }
}

bool CAlarmListCtrl::Overflows() const { return Count() > VisibleRows(); }

int CAlarmListCtrl::ScrollBarWidth() const { return framework::Screen::current().ScaleX(6); }

void CAlarmListCtrl::PaintScrollMark(CDC& dc, const CRect& client) {
    // A thin bar at the right edge says how much of the list is out of sight; the stylus
    // on it moves straight to that part of a long list.
    if (!Overflows()) return;
    const auto screen = framework::Screen::current();
    const int width = ScrollBarWidth();
    const int length = std::max(screen.ScaleY(12), client.Height() * VisibleRows() / Count());
    const int travel = client.Height() - length;
    const int top = travel * first_visible_ / std::max(1, Count() - VisibleRows());
    const int left = client.right - width;
    dc.FillSolidRect({left, 0, client.right, client.bottom}, kivo_palette::kButtonFace);
    dc.FillSolidRect({left + 1, top, client.right - 1, top + length}, kivo_palette::kButtonEdge);
}

void CAlarmListCtrl::ScrollToBarPoint(int y) {
    CRect client;
    GetClientRect(&client);
    const int last_first = Count() - VisibleRows();
    ScrollTo(framework::MulDiv(std::clamp(y, 0, client.Height()), last_first, std::max(1, client.Height())));
}

void CAlarmListCtrl::OnLButtonDown(ce::UINT /*flags*/, CPoint point) {
    CRect client;
    GetClientRect(&client);
    on_bar_ = Overflows() && point.x >= client.right - ScrollBarWidth();
    drag_from_ = point;
    drag_first_ = first_visible_;
    dragged_ = false;
    SetCapture();
    if (on_bar_) ScrollToBarPoint(point.y);
    else Tap(point);
}

void CAlarmListCtrl::OnMouseMove(ce::UINT /*flags*/, CPoint point) {
    if (!drag_from_) return;
    if (on_bar_) {
        ScrollToBarPoint(point.y);
        return;
    }
    // The rows follow the stylus, once it has moved far enough not to be a shaky tap.
    const int moved = drag_from_->y - point.y;
    if (!dragged_ && std::abs(moved) < row_height_ / 3) return;
    dragged_ = true;
    ScrollTo(drag_first_ + moved / std::max(1, row_height_));
}

void CAlarmListCtrl::OnLButtonUp(ce::UINT /*flags*/, CPoint /*point*/) {
    drag_from_.reset();
    on_bar_ = false;
    if (GetCapture() == this) ReleaseCapture();
}

void CAlarmListCtrl::Tap(CPoint point) {
    if (point.y < 0) return;
    const auto screen = framework::Screen::current();
    const int index = point.y / row_height_ + first_visible_;
    const int within = point.y % row_height_;
    const bool on_box = point.x > screen.ScaleX(10) && point.x < screen.ScaleX(30) && within >= screen.ScaleY(1) &&
                        within < screen.ScaleY(25);
    if (on_box && Row(index) != nullptr) {
        TapCheckBox(index);
        return;
    }
    if (Row(index) != nullptr && index != selected_) Select(index);
}

void CAlarmListCtrl::TapCheckBox(int index) {
    const CAlarmItem& row = *Row(index);
    // Two armed alarms of one time would ring over each other: only one may be armed.
    if (row.active == 0 && ActiveRowAt(row.hour, row.minute, index)) {
        drag_from_.reset();
        framework::MessageBox(this, ArmedTime::kRefusal, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    if (GetParent() != nullptr) GetParent()->SendMessage(WM_TOGGLE_ACTIVE, static_cast<ce::WPARAM>(index), 0);
}
