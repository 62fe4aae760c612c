#include "framework/ControlText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace framework {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

std::u16string GetControlText(const QWidget* widget) {
    if (widget == nullptr) return {};
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return FromQString(label->text());
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return FromQString(line->text());
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) return FromQString(edit->toPlainText());
    if (const auto* page = qobject_cast<const QTextEdit*>(widget)) return FromQString(page->toPlainText());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return FromQString(button->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return FromQString(group->title());
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return FromQString(combo->currentText());
    return FromQString(widget->isWindow() ? widget->windowTitle() : widget->accessibleName());
}

void SetControlText(QWidget* widget, std::u16string_view text) {
    if (widget == nullptr) return;
    const QString value = ToQString(text);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(value);
    else if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setText(value);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) edit->setPlainText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setCurrentText(value);
    else if (widget->isWindow()) widget->setWindowTitle(value);
    else widget->setAccessibleName(value);  // a plain window keeps its text for whoever draws it
}

std::optional<bool> GetControlCheck(const QWidget* widget) {
    // Check boxes, radio buttons and the push buttons that stay pushed in.
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button == nullptr || !button->isCheckable()) return std::nullopt;
    return button->isChecked();
}

}  // namespace framework
