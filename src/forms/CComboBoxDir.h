#pragma once
// The file chooser's folder box: shows the current folder ("My Device" for the root; a
// folder too long for the box as "..." and its end) and drops the folder tree down
// when tapped. A folder chosen there is the box's new folder, and the form hears of it
// as of a drop-down list's new selection (WM_COMMAND with CBN_SELCHANGE).

#include <memory>
#include <string>

#include "forms/CFolderTree.h"
#include "framework/CTreeComboBox.h"

class CComboBoxDir : public CTreeComboBox {
public:
    static constexpr int kId = 1048;

    CComboBoxDir();
    ~CComboBoxDir() override;

    void SetFolder(const std::u16string& folder);
    const std::u16string& Folder() const { return folder_; }
    // The tree while it is dropped down, else null.
    CFolderTree* Tree() const { return IsDroppedDown() ? tree_.get() : nullptr; }
    // `text` as it fits `width` pixels in `font`: whole, or "..." and as much of its end as fits.
    static std::u16string Shortened(const std::u16string& text, int width, const QFont& font);

protected:
    CTreeCtrl* OnDropDown(const CRect& place) override;
    void OnCloseUp(bool chosen) override;
    void OnChosen(CTreeCtrl* tree) override;
    void OnSize(ce::UINT type, int cx, int cy) override;

private:
    void ShowFolderText();
    int TextWidth() const;

    std::u16string folder_ = u"\\";
    std::unique_ptr<CFolderTree> tree_;
    std::unique_ptr<CFolderTree> closed_tree_;  // its window gone, kept until the next drop-down
};
