#include "kivo/CListButton.h"

#include "framework/CDC.h"
#include "framework/WindowMessages.h"
#include "kivo/ListPalette.h"

CListButton::CListButton(RowArt::Picture symbol, const char16_t* label)
    : symbol_(symbol), label_(label), art_(RowArt::Acquire()) {}

CListButton::~CListButton() { RowArt::Release(); }

bool CListButton::Create(CWnd* parent, int id) { return CWnd::Create(parent, {}, id, label_); }

void CListButton::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_WINDOW));
    CRect face{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    dc.FillSolidRect(face, pushed_ ? kivo_palette::kButtonPushed : kivo_palette::kButtonFace);
    dc.SelectPen(1, kivo_palette::kButtonEdge);
    dc.RoundRect(face, {art_.x(6), art_.y(6)});

    dc.SelectFont(art_.normal());
    const CSize label = dc.GetTextExtent(label_);
    const int symbol = art_.x(16);
    const int gap = art_.y(1);
    const int top = face.top + (face.Height() - symbol - gap - label.cy) / 2 + (pushed_ ? 1 : 0);
    const int left = face.left + (face.Width() - symbol) / 2;
    dc.StretchBlt({left, top, left + symbol, top + symbol}, art_.picture(symbol_));
    dc.SetTextColor(kivo_palette::kInk);
    dc.DrawText(label_, {face.left, top + symbol + gap, face.right, top + symbol + gap + label.cy},
                CDC::DT_CENTER | CDC::DT_SINGLELINE | CDC::DT_NOCLIP);
}

void CListButton::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) {
    pushed_ = true;
    SetCapture();
    Invalidate();
}

void CListButton::OnLButtonUp(ce::UINT /*flags*/, CPoint point) {
    const bool was_pushed = pushed_;
    pushed_ = false;
    if (GetCapture() == this) ReleaseCapture();
    Invalidate();
    CRect client;
    GetClientRect(&client);
    if (was_pushed && client.PtInRect(point) && GetParent() != nullptr)
        GetParent()->PostMessage(framework::WM_COMMAND, framework::MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID()), 0),
                                 reinterpret_cast<ce::LPARAM>(GetSafeHwnd()));
}
