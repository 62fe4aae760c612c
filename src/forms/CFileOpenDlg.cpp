#include "forms/CFileOpenDlg.h"

#include <mutex>

#include "ce/Shell.h"
#include "forms/CMainBaseDlg.h"
#include "forms/FolderPath.h"
#include "forms/FormIds.h"
#include "forms/LastFolder.h"
#include "framework/DialogTemplate.h"
#include "framework/Screen.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

// The caption and the two buttons; the folder box and the file list are made as the
// form opens, and everything is placed by the size of the screen (Layout).
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"File Open", WS_VISIBLE, 2, 2, 60, 12},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 90, 2, 30, 12},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 122, 2, 36, 12},
};

std::u16string windows_folder() {
    char16_t path[ce::MAX_PATH] = {};
    if (ce::SHGetSpecialFolderPath(nullptr, path, ce::CSIDL_WINDOWS, ce::FALSE) == ce::FALSE) return u"\\Windows";
    return path;
}

}  // namespace

void CFileOpenDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] { framework::DialogTemplates::Add({kTemplate, 160, 160, kItems}); });
}

CFileOpenDlg::CFileOpenDlg(std::u16string* path, CWnd* parent) : CDialog(kTemplate, parent), path_(path) {
    RegisterTemplates();
    const std::u16string last = LastFolder::Read();
    folder_ = !last.empty() && FolderPath::IsFolder(last) ? last : windows_folder();
    const std::u16string given = path_ != nullptr ? *path_ : std::u16string();
    if (!given.empty() && given != FolderPath::kRoot) folder_ = FolderPath::Climb(given);
    if (!given.empty() && FolderPath::IsFile(given)) {
        const std::u16string prefix = FolderPath::Join(folder_, u"");
        if (given.size() > prefix.size() && FileEntry::SameName(given.substr(0, prefix.size()), prefix))
            pending_ = given.substr(prefix.size());
    }
}

bool CFileOpenDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(u"File Open");
    CMainBaseDlg::CreateCaptionFont(&caption_font_, ScreenShape::Of(framework::Screen::current()));
    if (CWnd* caption = GetDlgItem(IDC_CAPTION)) caption->SetFont(caption_font_);
    box_.Create(this, {0, 0, 10, 10}, CComboBoxDir::kId);
    list_.Create(this, {0, 0, 10, 10}, IDC_FILE_LIST);
    Layout();
    Refresh();
    return true;
}

void CFileOpenDlg::Refresh() {
    folder_ = FolderPath::Rooted(folder_);
    box_.SetFolder(folder_);
    list_.Refresh(folder_, extensions_, pending_);
    pending_.clear();
}

void CFileOpenDlg::OnSize(ce::UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    Layout();
}

// Margins of 3 design pixels: the caption with OK and Cancel at the top right, the
// folder box across the width under them, and the list filling what is left.
void CFileOpenDlg::Layout() {
    if (widget() == nullptr || list_.widget() == nullptr) return;
    const auto screen = framework::Screen::current();
    auto x = [&](int design) { return screen.ScaleX(design); };
    auto y = [&](int design) { return screen.ScaleY(design); };
    CRect client;
    GetClientRect(&client);
    const int margin = x(3);
    const CRect cancel{client.right - margin - x(50), y(3), client.right - margin, y(25)};
    const CRect ok{cancel.left - x(4) - x(40), y(3), cancel.left - x(4), y(25)};
    if (CWnd* button = GetDlgItem(framework::IDCANCEL)) button->MoveWindow(cancel);
    if (CWnd* button = GetDlgItem(framework::IDOK)) button->MoveWindow(ok);
    if (CWnd* caption = GetDlgItem(IDC_CAPTION)) caption->MoveWindow({margin + x(2), y(5), ok.left - x(4), y(25)});
    const CRect box{margin, y(29), client.right - margin, y(29) + y(22)};
    box_.MoveWindow(box);
    list_.MoveWindow({margin, box.bottom + y(3), client.right - margin, client.bottom - margin});
    list_.LayOutColumns();
    if (box_.IsDroppedDown() && box_.Tree() != nullptr) box_.Tree()->MoveWindow(box_.DropDownRect());
}

bool CFileOpenDlg::OnCommand(ce::UINT id, ce::UINT code) {
    if (id == static_cast<ce::UINT>(CComboBoxDir::kId) && code == framework::CBN_SELCHANGE) {
        folder_ = box_.Folder();
        Refresh();
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CFileOpenDlg::OnOK() {
    const FileEntry* chosen = list_.Selected();
    if (chosen == nullptr) return;
    if (path_ != nullptr) *path_ = FolderPath::Join(folder_, chosen->name);
    Close(framework::IDOK);
}

void CFileOpenDlg::OnCancel() { Close(framework::IDCANCEL); }

void CFileOpenDlg::Close(int result) {
    box_.CloseUp();
    LastFolder::Write(folder_);
    EndDialog(result);
}
