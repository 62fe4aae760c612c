#pragma once
// What typing reaches: a person types into an edit, or into the edit of a combo box,
// when it is shown, enabled and not read-only. Buttons, labels, lists and the clock
// take no keystrokes, so text "typed" at them is refused, as the keyboard would.

class QWidget;

namespace framework {

class TypingTarget {
public:
    // Empty when `control` takes typing; else why not ("a button takes no typing").
    static const char* Refusal(const QWidget* control, const QWidget* window);
};

}  // namespace framework
