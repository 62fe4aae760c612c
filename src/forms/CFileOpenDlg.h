#pragma once
// "File Open": the main program's own file chooser. The folder box at the top drops a
// folder tree down; the list below shows the folder's files with an allowed extension.
// It opens where the caller's path points (or the folder used last, or the Windows
// folder), and on OK puts the chosen file's full path into the caller's string.

#include <string>
#include <vector>

#include "forms/CComboBoxDir.h"
#include "forms/CListCtrlFiles.h"
#include "framework/CDialog.h"
#include "framework/CFont.h"

class CFileOpenDlg : public CDialog {
public:
    static constexpr int kTemplate = 134;
    static constexpr int IDC_FILE_LIST = 1041;

    // `path` in: the current choice (may be empty); out, after IDOK: the chosen file.
    explicit CFileOpenDlg(std::u16string* path, CWnd* parent = nullptr);

    // Adds the form's template to the program's (once).
    static void RegisterTemplates();

    // Extensions without the dot; none lists every file.
    void SetExtensions(std::vector<std::u16string> extensions) { extensions_ = std::move(extensions); }
    const std::u16string& CurrentFolder() const { return folder_; }
    // The file to select when the list is first shown (from the caller's path).
    const std::u16string& PendingName() const { return pending_; }
    CComboBoxDir& FolderBox() { return box_; }
    CListCtrlFiles& FileList() { return list_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Refresh();
    void Layout();
    void Close(int result);

    std::u16string* path_;
    std::u16string folder_;
    std::u16string pending_;
    std::vector<std::u16string> extensions_;
    CComboBoxDir box_;
    CListCtrlFiles list_;
    CFont caption_font_;
};
