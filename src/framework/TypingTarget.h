#pragma once
// What typing reaches: a person types into an edit, or into the edit of a combo box,
// when it is shown, enabled and not read-only. Buttons, labels, lists and the clock
// take no keystrokes, so text "typed" at them is refused, as the keyboard would; and a
// number field takes digits only.

class QString;
class QWidget;

namespace framework {

class TypingTarget {
public:
    // Empty when `control` takes `text` typed into it; else why not ("a button takes no
    // typing", "it is a number field: digits only").
    static const char* Refusal(const QWidget* control, const QWidget* window, const QString& text);
};

}  // namespace framework
