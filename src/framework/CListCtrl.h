#pragma once
// A report list (rows of columns) or a tree of a form; rows by index, one selection.

#include <string>
#include <string_view>

#include "framework/CWnd.h"

class CListCtrl : public CWnd {
public:
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
    bool SelectItem(int row);
};

class CTreeCtrl : public CListCtrl {};
