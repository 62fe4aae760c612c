#include "framework/DropDownCombo.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "framework/ArrowGlyph.h"

namespace framework {

void DropDownCombo::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    option.subControls &= ~QStyle::SC_ComboBoxArrow;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    // As wide as a third of the box is high: the style's caret at 96 dpi.
    DrawArrowGlyph(painter, QRectF(arrow).center(), height() * 0.16, false, ArrowColor(*this));
}

}  // namespace framework
