#pragma once
// The text and check state of any control, whatever Qt widget stands behind it: a
// label's text, an edit's contents, a button's caption, a group box's title, a drop-down
// list's chosen item, a top-level window's title.

#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

namespace framework {

std::u16string GetControlText(const QWidget* widget);
void SetControlText(QWidget* widget, std::u16string_view text);
// Checked state of a check box or radio button; nothing for other controls.
std::optional<bool> GetControlCheck(const QWidget* widget);

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString& text);

}  // namespace framework
