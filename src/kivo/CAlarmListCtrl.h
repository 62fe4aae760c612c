#pragma once
// The alarm list: one row per alarm file, kept in order of alarm time, drawn by the
// list itself into an off-screen bitmap and copied to the screen in one step. A tap on
// a row's check box arms or disarms the alarm (through the view); a tap elsewhere
// selects the row; dragging the stylus scrolls, and so does the stylus on the bar at
// the right edge of a list longer than the screen.

#include <memory>
#include <optional>
#include <vector>

#include "alarms/AlarmRows.h"
#include "framework/CBitmap.h"
#include "framework/CWnd.h"
#include "kivo/CAlarmItem.h"

class CAlarmListCtrl : public CWnd, public AlarmRows {
public:
    CAlarmListCtrl();

    // Puts the row before the first row of a later time; when there is none, at
    // `requested` (the end when none or past it). Returns its index.
    int InsertSorted(std::unique_ptr<CAlarmItem> row, std::optional<int> requested = std::nullopt);
    // Moves an edited row to just after the last other row not later than it; the new index.
    int Resort(int index);
    void RemoveRow(int index);
    CAlarmItem* Row(int index) const;
    int Count() const { return static_cast<int>(rows_.size()); }
    int Selected() const { return selected_; }
    // -1 (or any index without a row) selects nothing.
    void Select(int index);
    int FirstVisible() const { return first_visible_; }
    int RowHeight() const { return row_height_; }
    // Index of an active row of that time other than `except`, if any.
    std::optional<int> ActiveRowAt(int hour, int minute, int except) const;

    // AlarmRows, for the store's refresh.
    std::size_t RowCount() const override { return rows_.size(); }
    std::u16string RowFileName(std::size_t row) const override { return rows_[row]->file_name; }
    void SetRowActive(std::size_t row, bool active) override { rows_[row]->active = active ? 1 : 0; }

protected:
    int OnCreate() override;
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnSize(ce::UINT type, int cx, int cy) override;
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnMouseMove(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT flags, CPoint point) override;

private:
    void Tap(CPoint point);
    void TapCheckBox(int row);
    int VisibleRows() const;
    void ScrollTo(int first);
    void EnsureVisible(int index);
    void PaintRows(CDC& dc, const CRect& client);
    void PaintScrollMark(CDC& dc, const CRect& client);
    bool Overflows() const;
    int ScrollBarWidth() const;
    void ScrollToBarPoint(int y);

    std::vector<std::unique_ptr<CAlarmItem>> rows_;
    int first_visible_ = 0;
    int selected_ = -1;
    int row_height_ = 50;
    CBitmap off_screen_;
    std::optional<CPoint> drag_from_;
    int drag_first_ = 0;
    bool dragged_ = false;
    bool on_bar_ = false;
};
