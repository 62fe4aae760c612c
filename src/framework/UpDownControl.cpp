#include "framework/UpDownControl.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "framework/ArrowGlyph.h"

namespace framework {

namespace {

// An arrow of the spinner drawn to its button's size.
class ArrowButton : public QToolButton {
public:
    ArrowButton(QWidget* parent, bool up) : QToolButton(parent), up_(up) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.arrowType = Qt::NoArrow;
        option.text.clear();
        style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);
        const double half = std::min(width(), height() * 2) * 0.22;
        DrawArrowGlyph(painter, QRectF(rect()).center(), half, up_, ArrowColor(*this));
    }

private:
    bool up_;
};

}  // namespace

UpDownControl::UpDownControl(QWidget* parent, bool wrap, bool set_buddy_text)
    : QWidget(parent), wrap_(wrap), set_buddy_text_(set_buddy_text) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new ArrowButton(this, arrow == Qt::UpArrow);
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
