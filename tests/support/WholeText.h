#pragma once
// Whether a text control shows all of its text: its longest word and all its lines fit.

#include <QLabel>

#include "framework/CWnd.h"

namespace testing_support {

inline bool ShowsWholeText(const CWnd* control) {
    const auto* label = control != nullptr ? qobject_cast<const QLabel*>(control->widget()) : nullptr;
    if (label == nullptr) return false;
    const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    return label->minimumSizeHint().width() <= label->width() && needed <= label->height();
}

}  // namespace testing_support
