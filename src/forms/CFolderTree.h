#pragma once
// The folder tree that drops down from the file chooser's folder box: "My Device" for
// the root, then one item per folder, each searched for its subfolders only when it is
// first opened. It opens at the folder the chooser shows; choosing an item tells the box.

#include <string>

#include "framework/CTreeCtrl.h"

class CTreeComboBox;

class CFolderTree : public CTreeCtrl {
public:
    static constexpr int kId = 2005;

    explicit CFolderTree(CTreeComboBox& box) : box_(box) {}

    // The tree at `place` in `form`, opened down to `folder` with that folder selected.
    bool Create(CWnd* form, const CRect& place, const std::u16string& folder);
    // The folder an item stands for: its name and its ancestors' joined by "\".
    std::u16string PathOf(HTREEITEM item) const;
    // The item of `folder`, opening the branches down to it and it; the deepest one
    // that exists when part of the way is gone.
    HTREEITEM OpenAt(const std::u16string& folder);

protected:
    void OnItemExpanding(HTREEITEM item) override;
    void OnItemChosen(HTREEITEM item) override;

private:
    CTreeComboBox& box_;
};
