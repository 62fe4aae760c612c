#include "forms/FieldSpinner.h"

#include <algorithm>
#include <string>

#include "forms/EditField.h"

bool FieldSpinner::Attach(CWnd* form, int spin_id, std::vector<int> edit_ids, int lower, int upper) {
    form_ = form;
    spin_ = dynamic_cast<CSpinButtonCtrl*>(form->GetDlgItem(spin_id));
    edit_ids_ = std::move(edit_ids);
    if (spin_ == nullptr || edit_ids_.empty()) return false;
    spin_->SetRange(lower, upper);
    const int digits = static_cast<int>(std::to_string(upper).size());
    for (const int id : edit_ids_) EditField::Limit(form->GetDlgItem(id), digits);
    SetTarget(edit_ids_.front());
    return true;
}

void FieldSpinner::SetTarget(int edit_id) {
    if (spin_ == nullptr || std::find(edit_ids_.begin(), edit_ids_.end(), edit_id) == edit_ids_.end()) return;
    target_ = edit_id;
    CWnd* edit = form_->GetDlgItem(edit_id);
    spin_->SetBuddy(edit);
    spin_->SetPos(EditField::Number(edit));
}

void FieldSpinner::Watch(const ce::MSG& message) {
    if (message.message != ce::WM_LBUTTONDOWN || form_ == nullptr) return;
    for (const int id : edit_ids_) {
        const CWnd* edit = form_->GetDlgItem(id);
        if (edit != nullptr && edit->GetSafeHwnd() == message.hwnd && edit->IsWindowEnabled()) SetTarget(id);
    }
}
