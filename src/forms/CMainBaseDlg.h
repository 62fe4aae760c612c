#pragma once
// The look most small forms share: a bold caption (2100) with a line under it, an
// optional sub-caption (2101), a rounded border in the highlight colour, and an optional
// help button (2107) that opens the form's help page in the help form.

#include <string>

#include "forms/CBaseDlg.h"
#include "forms/CHelpButton.h"
#include "framework/CFont.h"

struct HelpPage {
    std::u16string title;
    std::u16string text;
};

class CMainBaseDlg : public CBaseDlg {
public:
    CMainBaseDlg(CWnd* parent, int portrait_id, int landscape_id, int square_id);

    // The caption font: bold "Tahoma" 11 points, a little lighter on high-resolution screens.
    static bool CreateCaptionFont(CFont* font, const ScreenShape& shape);
    bool HasHelpButton() const { return help_button_.GetSafeHwnd() != nullptr; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    // The rounded border, then the line under the caption.
    void DrawBackground(CDC& dc) override;
    void DrawCaptionRule(CDC& dc);
    // The form's help title and text.
    virtual HelpPage GetHelpPage() const { return {}; }

private:
    CFont caption_font_;
    CFont subcaption_font_;
    CHelpButton help_button_;
};
