#pragma once
// A report list of a form: rows of columns with a small icon in the first, headed
// columns of given widths, rows by index. The stylus selects a row; dragging over rows
// selects the range between (SetRangeSelection); GetSelectedItem is the row selected
// first from the top.

#include <string>
#include <string_view>

#include "framework/CWnd.h"

class CBitmap;

class CListCtrl : public CWnd {
public:
    // A report list of the window's own (not from a template), with full-row selection
    // that stays shown when the list loses the focus.
    bool Create(CWnd* parent, const CRect& rect, int id);
    int InsertColumn(int column, std::u16string_view heading, int width);
    // Inserts a row before `row` (at the end when past it); returns its index.
    int InsertItem(int row, std::u16string_view text);
    bool SetItemText(int row, int column, std::u16string_view text);
    std::u16string GetItemText(int row, int column) const;
    int GetItemCount() const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    // -1 when nothing is selected.
    int GetSelectedItem() const;
    // Selects the row alone and shows it (no notification: the program chose it).
    bool SelectItem(int row);
    bool IsItemSelected(int row) const;
    // Lets the stylus select a range by dragging (off: one row at a time).
    void SetRangeSelection(bool range);

    int GetColumnCount() const;
    bool SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    std::u16string GetColumnHeading(int column) const;
    // The row's icon, drawn at the bitmap's design size for the screen's scale.
    bool SetItemIcon(int row, const CBitmap& icon);
    // The row's rectangle in the list's client coordinates (empty when scrolled out of view).
    CRect GetItemRect(int row) const;
};

