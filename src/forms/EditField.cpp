#include "forms/EditField.h"

#include <QLineEdit>
#include <string>

int EditField::Number(const CWnd* edit) {
    if (edit == nullptr) return 0;
    int value = 0;
    for (const char16_t c : edit->GetWindowText()) {
        if (c < u'0' || c > u'9') break;
        if (value > 100'000'000) break;  // long enough to be out of any range already
        value = value * 10 + (c - u'0');
    }
    return value;
}

void EditField::SetNumber(CWnd* edit, int value) {
    if (edit == nullptr) return;
    const std::string digits = std::to_string(value);
    edit->SetWindowText(std::u16string(digits.begin(), digits.end()));
}

void EditField::Limit(CWnd* edit, int characters) {
    if (auto* line = edit != nullptr ? qobject_cast<QLineEdit*>(edit->widget()) : nullptr) line->setMaxLength(characters);
}
