#pragma once
// A message box as the handheld shows it: a form of its own in the foreground, drawn as
// a box (caption bar, icon, word-wrapped text, a row of buttons) over the window it
// covers, so that `handheld screenshot`, `ui dump` and `ui click` see and answer it as
// they do any form. The buttons carry the standard ids (IDOK, IDCANCEL, IDYES, IDNO);
// Enter chooses the first, Escape Cancel (or OK when that is the only button).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CFont.h"
#include "framework/DialogTemplate.h"

namespace framework {

class MessageBoxForm : public CDialog {
public:
    // The id of the text, as the window system gives it.
    static constexpr int kTextId = 0xFFFF;

    MessageBoxForm(CWnd* owner, std::u16string_view text, std::u16string_view caption, ce::UINT type);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    void OnTimer(ce::UINT_PTR id) override;
    void OnPaint(CDC& dc) override;

private:
    void TakeBackdrop();
    void DrawIcon();
    void LayOut();
    bool HasButton(int id) const;

    std::u16string text_;
    std::u16string caption_;
    ce::UINT type_;
    std::vector<int> buttons_;
    std::vector<DialogItem> items_;
    DialogTemplate template_{};
    CWnd* covered_;  // the window the box opens over (its owner, else the foreground one)
    CFont caption_font_;
    CBitmap backdrop_;  // the covered window as it was when the box opened
    CBitmap icon_;
    CRect box_{};
    int caption_height_ = 0;
};

}  // namespace framework
