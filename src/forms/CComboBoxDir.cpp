#include "forms/CComboBoxDir.h"

#include <QFontMetrics>

#include "forms/FolderPath.h"
#include "framework/ControlText.h"
#include "framework/Screen.h"
#include "framework/WindowMessages.h"

CComboBoxDir::CComboBoxDir() = default;

CComboBoxDir::~CComboBoxDir() = default;

void CComboBoxDir::SetFolder(const std::u16string& folder) {
    folder_ = FolderPath::Rooted(folder);
    ShowFolderText();
}

std::u16string CComboBoxDir::Shortened(const std::u16string& text, int width, const QFont& font) {
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(framework::ToQString(text)) <= width) return text;
    // Leading characters go one at a time until "..." and the rest fit.
    for (std::size_t drop = 1; drop < text.size(); ++drop) {
        const std::u16string shown = u"..." + text.substr(drop);
        if (metrics.horizontalAdvance(framework::ToQString(shown)) <= width) return shown;
    }
    return u"...";
}

// The box's text area: the width less the arrow and the margins its painting keeps.
int CComboBoxDir::TextWidth() const {
    CRect client;
    GetClientRect(&client);
    const auto screen = framework::Screen::current();
    const int arrow = std::min(client.Width() / 2, client.Height());
    return std::max(0, client.Width() - arrow - screen.ScaleX(5));
}

void CComboBoxDir::ShowFolderText() {
    if (widget() == nullptr) return;
    SetWindowText(Shortened(FolderPath::BoxText(folder_), TextWidth(), widget()->font()));
}

void CComboBoxDir::OnSize(ce::UINT /*type*/, int /*cx*/, int /*cy*/) { ShowFolderText(); }

CTreeCtrl* CComboBoxDir::OnDropDown(const CRect& place) {
    closed_tree_.reset();
    tree_ = std::make_unique<CFolderTree>(*this);
    if (!tree_->Create(GetParent(), place, folder_)) {
        tree_.reset();
        return nullptr;
    }
    return tree_.get();
}

void CComboBoxDir::OnChosen(CTreeCtrl* /*tree*/) {
    folder_ = tree_->PathOf(tree_->GetSelectedItem());
    ShowFolderText();
}

void CComboBoxDir::OnCloseUp(bool chosen) {
    // The tree may be in the middle of handling the tap that closed it: its window goes
    // now (the widget itself once that tap is over), the object at the next drop-down.
    closed_tree_ = std::move(tree_);
    if (closed_tree_ != nullptr) closed_tree_->DestroyWindow();
    if (chosen && GetParent() != nullptr)
        GetParent()->WindowProc(framework::WM_COMMAND,
                                framework::MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID()), framework::CBN_SELCHANGE),
                                reinterpret_cast<ce::LPARAM>(GetSafeHwnd()));
}
