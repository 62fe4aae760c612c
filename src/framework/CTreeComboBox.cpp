#include "framework/CTreeComboBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "framework/CDC.h"
#include "framework/CTreeCtrl.h"
#include "framework/Colors.h"
#include "framework/ControlText.h"
#include "framework/Screen.h"

CTreeComboBox::CTreeComboBox() = default;

CTreeComboBox::~CTreeComboBox() {
    if (dropped_ != nullptr) qApp->removeEventFilter(&outside_);
}

bool CTreeComboBox::Create(CWnd* parent, const CRect& rect, int id) {
    if (!CWnd::Create(parent, rect, id)) return false;
    widget()->setAttribute(Qt::WA_OpaquePaintEvent);
    return true;
}

CRect CTreeComboBox::DropDownRect() const {
    CRect box;
    GetWindowRectInParent(&box);
    CRect client;
    if (GetParent() != nullptr) GetParent()->GetClientRect(&client);
    const int bottom = drop_height_ > 0 ? box.bottom + drop_height_ : client.bottom;
    return {box.left, box.bottom, box.right, std::max(box.bottom + 1, bottom)};
}

bool CTreeComboBox::ShowDropDown() {
    if (dropped_ != nullptr || widget() == nullptr) return dropped_ != nullptr;
    CTreeCtrl* tree = OnDropDown(DropDownRect());
    if (tree == nullptr || tree->widget() == nullptr) return false;
    dropped_ = tree;
    tree->MoveWindow(DropDownRect());
    tree->widget()->raise();
    tree->ShowWindow(true);
    tree->SetFocus();
    qApp->installEventFilter(&outside_);
    Invalidate();
    return true;
}

void CTreeComboBox::CloseUp() { Close(false); }

void CTreeComboBox::Close(bool chosen) {
    if (dropped_ == nullptr) return;
    qApp->removeEventFilter(&outside_);
    dropped_->ShowWindow(false);
    dropped_ = nullptr;
    Invalidate();
    OnCloseUp(chosen);
}

void CTreeComboBox::ItemChosen(CTreeCtrl* tree) {
    if (tree != dropped_) return;
    OnChosen(tree);
    Close(true);
}

void CTreeComboBox::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) {
    if (!IsWindowEnabled()) return;
    if (dropped_ == nullptr) ShowDropDown();
    else CloseUp();
}

bool CTreeComboBox::OutsideTap::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonRelease && swallow_release_) {
        swallow_release_ = false;
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    QWidget* tree = box_->dropped_ != nullptr ? box_->dropped_->widget() : nullptr;
    if (target == nullptr || tree == nullptr || tree == target || tree->isAncestorOf(target)) return false;
    box_->CloseUp();
    swallow_release_ = true;
    return true;
}

void CTreeComboBox::OnPaint(CDC& dc) {
    const auto screen = framework::Screen::current();
    CRect client;
    GetClientRect(&client);
    const int arrow_width = std::min(client.Width() / 2, client.Height());
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_WINDOW));
    const int line = std::max(1, screen.ScaleX(1));
    dc.SelectPen(line, framework::RGB(0, 0, 0));
    // The outline and the arrow's box, as a drop-down list is drawn on the handheld.
    dc.MoveTo(0, 0);
    dc.LineTo(client.right - 1, 0);
    dc.LineTo(client.right - 1, client.bottom - 1);
    dc.LineTo(0, client.bottom - 1);
    dc.LineTo(0, 0);
    const int arrow_left = client.right - arrow_width;
    dc.MoveTo(arrow_left, 0);
    dc.LineTo(arrow_left, client.bottom - 1);
    const int cx = arrow_left + arrow_width / 2;
    const int cy = client.Height() / 2;
    const int half = std::max(2, arrow_width / 5);
    for (int row = 0; row <= half; ++row) {
        dc.MoveTo(cx - half + row, cy - half / 2 + row);
        dc.LineTo(cx + half - row, cy - half / 2 + row);
    }
    // The painter starts with the box's own font.
    dc.SetTextColor(IsWindowEnabled() ? framework::GetSysColor(framework::COLOR_WINDOWTEXT) : framework::RGB(128, 128, 128));
    const CRect text{client.left + screen.ScaleX(3), client.top, arrow_left - screen.ScaleX(2), client.bottom};
    dc.DrawText(GetWindowText(), text, CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
}
