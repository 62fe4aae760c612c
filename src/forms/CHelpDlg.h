#pragma once
// The help form: a title in the caption font over a read-only scrolling text, laid out
// for the screen's shape (templates 540, 675, 676). It has no OK or Cancel button of its
// own: the "ok" of its title bar, the handheld's close command or Escape closes it.

#include <string>

#include "forms/CBaseDlg.h"
#include "forms/CHelpTextEdit.h"
#include "framework/CFont.h"

class CHelpDlg : public CBaseDlg {
public:
    static constexpr int kPortrait = 540;
    static constexpr int kLandscape = 675;
    static constexpr int kSquare = 676;

    CHelpDlg(CWnd* parent, std::u16string title, std::u16string text);

    // Adds the help form's three templates to the program's (once).
    static void RegisterTemplates();

protected:
    bool OnInitDialog() override;

private:
    std::u16string title_;
    std::u16string text_;
    CFont caption_font_;
    CHelpTextEdit text_control_;
};
