#include "forms/CBaseDlg.h"

#include "framework/CListBox.h"
#include "framework/DialogTemplate.h"

CBaseDlg::CBaseDlg(CWnd* parent, int portrait_id, int landscape_id, int square_id)
    : CDialog(portrait_id, parent),
      portrait_id_(portrait_id),
      landscape_id_(landscape_id),
      square_id_(square_id),
      current_id_(TemplateFor(ScreenShape::Of(framework::Screen::current()))) {
    SetTemplateId(current_id_);
}

int CBaseDlg::TemplateFor(const ScreenShape& shape) const {
    switch (shape.layout) {
        case FormLayout::Landscape: return landscape_id_;
        case FormLayout::Square: return square_id_;
        case FormLayout::Portrait: break;
    }
    return portrait_id_;
}

void CBaseDlg::OnSize(ce::UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    const int wanted = TemplateFor(ScreenShape::Of(framework::Screen::current()));
    if (wanted == current_id_) return;
    current_id_ = wanted;
    ApplyTemplate(wanted);
}

void CBaseDlg::ApplyTemplate(int template_id) {
    const auto* dialog = framework::DialogTemplates::Find(template_id);
    if (dialog == nullptr || widget() == nullptr) return;
    // One batch: the form is drawn once, after every control has moved.
    widget()->setUpdatesEnabled(false);
    for (const auto& item : dialog->items) {
        CWnd* control = GetDlgItem(item.id);
        if (control == nullptr) continue;
        CRect rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(&rect);
        control->MoveWindow(rect, false);
        // A moved list keeps its selection in view.
        if (auto* list = dynamic_cast<CListBox*>(control)) list->SetCurSel(list->GetCurSel());
    }
    widget()->setUpdatesEnabled(true);
    widget()->update();
}
