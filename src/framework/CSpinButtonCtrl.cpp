#include "framework/CSpinButtonCtrl.h"

#include <QLineEdit>

#include "framework/UpDownControl.h"

namespace {

framework::UpDownControl* spinner_of(QWidget* widget) { return dynamic_cast<framework::UpDownControl*>(widget); }

}  // namespace

void CSpinButtonCtrl::SetRange(int lower, int upper) {
    if (auto* spinner = spinner_of(widget())) spinner->SetRange(lower, upper);
}

void CSpinButtonCtrl::SetPos(int position) {
    if (auto* spinner = spinner_of(widget())) spinner->SetPos(position);
}

int CSpinButtonCtrl::GetPos() const {
    const auto* spinner = spinner_of(widget());
    return spinner != nullptr ? spinner->GetPos() : 0;
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    const auto* spinner = spinner_of(widget());
    return spinner != nullptr ? CWnd::FromWidget(spinner->Buddy()) : nullptr;
}

void CSpinButtonCtrl::SetBuddy(CWnd* edit) {
    auto* spinner = spinner_of(widget());
    if (spinner == nullptr) return;
    spinner->SetBuddy(edit != nullptr ? qobject_cast<QLineEdit*>(edit->widget()) : nullptr);
}

void CSpinButtonCtrl::GetRange(int* lower, int* upper) const {
    const auto* spinner = spinner_of(widget());
    *lower = spinner != nullptr ? spinner->Lower() : 0;
    *upper = spinner != nullptr ? spinner->Upper() : 0;
}

void CSpinButtonCtrl::Step(int delta) {
    if (auto* spinner = spinner_of(widget())) spinner->Step(delta);
}
