#include "framework/TypingTarget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

namespace framework {

const char* TypingTarget::Refusal(const QWidget* control, const QWidget* window, const QString& text) {
    if (!control->isVisibleTo(window)) return "it is hidden";
    if (!control->isEnabled()) return "it is disabled";
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        if (line->isReadOnly()) return "it is read-only";
        // The field's own rule for what the keys may put in it (ES_NUMBER: digits).
        QString typed = text;
        int at = 0;
        if (line->validator() != nullptr && line->validator()->validate(typed, at) == QValidator::Invalid)
            return "it is a number field: digits only";
        return "";
    }
    if (const auto* page = qobject_cast<const QPlainTextEdit*>(control)) return page->isReadOnly() ? "it is read-only" : "";
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->isEditable() ? "" : "it is a drop-down list, without an edit to type into";
    return "it is no edit: nothing can be typed into it";
}

}  // namespace framework
