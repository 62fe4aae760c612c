#include "framework/TypingTarget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace framework {

const char* TypingTarget::Refusal(const QWidget* control, const QWidget* window) {
    if (!control->isVisibleTo(window)) return "it is hidden";
    if (!control->isEnabled()) return "it is disabled";
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) return line->isReadOnly() ? "it is read-only" : "";
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(control)) return text->isReadOnly() ? "it is read-only" : "";
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->isEditable() ? "" : "it is a drop-down list, without an edit to type into";
    return "it is no edit: nothing can be typed into it";
}

}  // namespace framework
