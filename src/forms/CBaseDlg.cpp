#include "forms/CBaseDlg.h"

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
    if (framework::DialogTemplates::Find(template_id) == nullptr) return;
    SetTemplateId(template_id);
    PlaceControls();
}
