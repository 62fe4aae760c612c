#include "forms/CMainBaseDlg.h"

#include "ce/Screen.h"
#include "forms/CHelpDlg.h"
#include "forms/FormIds.h"
#include "framework/CDC.h"

CMainBaseDlg::CMainBaseDlg(CWnd* parent, int portrait_id, int landscape_id, int square_id)
    : CBaseDlg(parent, portrait_id, landscape_id, square_id) {}

bool CMainBaseDlg::CreateCaptionFont(CFont* font, const ScreenShape& shape) {
    return font->Create(u"Tahoma", 11, shape.scale > 1 ? 600 : 850);
}

bool CMainBaseDlg::OnInitDialog() {
    CBaseDlg::OnInitDialog();
    const auto shape = ScreenShape::Of(framework::Screen::current());
    CreateCaptionFont(&caption_font_, shape);
    if (CWnd* caption = GetDlgItem(IDC_CAPTION)) caption->SetFont(caption_font_);
    subcaption_font_.Create(u"Tahoma", 8.6, CFont::FW_BOLD);
    if (CWnd* subcaption = GetDlgItem(IDC_SUBCAPTION)) subcaption->SetFont(subcaption_font_);
    if (GetDlgItem(IDC_HELP_BUTTON) != nullptr) help_button_.AttachToControl(IDC_HELP_BUTTON, this, shape.scale);
    return true;
}

bool CMainBaseDlg::OnCommand(ce::UINT id, ce::UINT code) {
    if (id == static_cast<ce::UINT>(IDC_HELP_BUTTON) && HasHelpButton()) {
        const HelpPage page = GetHelpPage();
        CHelpDlg help(this, page.title, page.text);
        help.DoModal();
        return true;
    }
    return CBaseDlg::OnCommand(id, code);
}

void CMainBaseDlg::DrawBackground(CDC& dc) {
    const int s = ScreenShape::Of(framework::Screen::current()).scale;
    CRect client;
    GetClientRect(&client);
    CRect border = client;
    // Unless the input panel is docked and hidden, the border runs on below the bottom
    // edge, where the panel covers the form.
    ce::SIPINFO panel;
    if (!ce::SipGetInfo(&panel) || panel.fdwFlags != ce::SIPF_DOCKED) border.bottom += 10 * s;
    border.left += 4 * s;
    border.top += 4 * s;
    border.right -= 3 * s;
    border.bottom -= 3 * s;
    dc.SelectPen(4 * s, framework::GetSysColor(framework::COLOR_HIGHLIGHT));
    dc.RoundRect(border, {10 * s, 10 * s});
    DrawCaptionRule(dc);
}

void CMainBaseDlg::DrawCaptionRule(CDC& dc) {
    const int s = ScreenShape::Of(framework::Screen::current()).scale;
    CRect client;
    GetClientRect(&client);
    CWnd* caption = GetDlgItem(IDC_CAPTION);
    if (caption == nullptr) return;
    CRect place;
    caption->GetWindowRectInParent(&place);
    const int y = place.bottom + 2 * s;
    dc.SelectPen(2 * s, framework::RGB(0, 0, 0));
    dc.MoveTo(10 * s, y);
    dc.LineTo(client.Width() - 10 * s, y);
}
