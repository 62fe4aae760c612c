#include "framework/UpDownControl.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "framework/Screen.h"

namespace framework {

UpDownControl::UpDownControl(QWidget* parent, bool wrap, bool set_buddy_text)
    : QWidget(parent), wrap_(wrap), set_buddy_text_(set_buddy_text) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        // The arrows are drawn at the icon size, which the style gives in 96-dpi pixels.
        const Screen screen = Screen::current();
        button->setIconSize({screen.ScaleX(button->iconSize().width()), screen.ScaleY(button->iconSize().height())});
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, step = delta] { Step(step); });
        layout->addWidget(button);
    }
}

void UpDownControl::SetRange(int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    SetPos(position_);
}

void UpDownControl::SetPos(int position) {
    position_ = std::clamp(position, lower_, upper_);
    if (set_buddy_text_ && buddy_ != nullptr) buddy_->setText(QString::number(position_));
}

void UpDownControl::Step(int delta) {
    // The buddy may have been typed into since the last step.
    if (set_buddy_text_ && buddy_ != nullptr) {
        bool ok = false;
        const int typed = buddy_->text().toInt(&ok);
        if (ok) position_ = std::clamp(typed, lower_, upper_);
    }
    int next = position_ + delta;
    if (next > upper_) next = wrap_ ? lower_ : upper_;
    if (next < lower_) next = wrap_ ? upper_ : lower_;
    SetPos(next);
}

}  // namespace framework
