#pragma once
// A tree of a form: items nested under items, each with its text. An item inserted as
// one that may have children shows an expand box and is filled only when it is first
// expanded (OnItemExpanding), so a tree of a whole file system costs nothing until the
// user opens its branches. A tap on an item's text chooses it (OnItemChosen); a tap on
// its box expands or collapses it.

#include <string>
#include <string_view>
#include <vector>

#include "framework/CWnd.h"

class QTreeWidgetItem;

using HTREEITEM = QTreeWidgetItem*;
inline const HTREEITEM TVI_ROOT = nullptr;

class CTreeCtrl : public CWnd {
public:
    ~CTreeCtrl() override;

    // A tree window of the program's own, hidden until shown.
    bool Create(CWnd* parent, const CRect& rect, int id);

    // Adds an item at the end of `parent`'s children (TVI_ROOT: a top-level item).
    HTREEITEM InsertItem(std::u16string_view text, HTREEITEM parent = TVI_ROOT, bool may_have_children = false);
    void DeleteAllItems();
    std::u16string GetItemText(HTREEITEM item) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    // The child of `parent` with that text (case as given), or null.
    HTREEITEM FindChild(HTREEITEM parent, std::u16string_view text) const;

    // Expands (filling it first when it never was) or collapses the item.
    bool Expand(HTREEITEM item, bool expand = true);
    bool IsExpanded(HTREEITEM item) const;
    // The item has been filled (or never needed to be).
    bool IsFilled(HTREEITEM item) const;
    // Selects and shows the item, without telling anyone (the program chose it).
    bool SelectItem(HTREEITEM item);
    HTREEITEM GetSelectedItem() const;
    // Chooses the item as a tap on it does: selects it and runs OnItemChosen.
    bool ChooseItem(HTREEITEM item);

    // The items a user sees, top to bottom: every top-level item and the children of
    // expanded items.
    std::vector<HTREEITEM> VisibleItems() const;
    int GetItemDepth(HTREEITEM item) const;
    // The item's text rectangle in the tree's client coordinates (empty when scrolled away).
    CRect GetItemRect(HTREEITEM item) const;

protected:
    // The item is being expanded for the first time: insert its children now. An item
    // left without children loses its box.
    virtual void OnItemExpanding(HTREEITEM /*item*/) {}
    // The stylus chose the item. By default the parent hears of it as of a list box's
    // new selection (WM_COMMAND with LBN_SELCHANGE).
    virtual void OnItemChosen(HTREEITEM item);

private:
    void Hook();
    void Fill(HTREEITEM item);
    bool hooked_ = false;
};
