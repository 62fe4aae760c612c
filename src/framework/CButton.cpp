#include "framework/CButton.h"

#include <QAbstractButton>

namespace {

QAbstractButton* button_of(QWidget* widget) { return qobject_cast<QAbstractButton*>(widget); }

}  // namespace

int CButton::GetCheck() const {
    const auto* button = button_of(widget());
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int state) {
    auto* button = button_of(widget());
    if (button == nullptr || !button->isCheckable()) return;
    button->setChecked(state == BST_CHECKED);
}

bool CButton::IsPushed() const {
    const auto* button = button_of(widget());
    return button != nullptr && button->isDown();
}
