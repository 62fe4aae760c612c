#include "framework/ScrollArrowStyle.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include "framework/ArrowGlyph.h"

namespace framework {

void ScrollArrowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                          const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr || bar->orientation != Qt::Vertical) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionSlider rest(*bar);
    rest.subControls &= ~(SC_ScrollBarSubLine | SC_ScrollBarAddLine);
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
    for (const SubControl button : {SC_ScrollBarSubLine, SC_ScrollBarAddLine}) {
        if (!(bar->subControls & button)) continue;
        const QRect place = subControlRect(control, bar, button, widget);
        const bool pressed = (bar->activeSubControls & button) && (bar->state & State_Sunken);
        painter->save();
        painter->fillRect(place, bar->palette.color(pressed ? QPalette::Mid : QPalette::Button));
        painter->setPen(bar->palette.color(QPalette::Mid));
        painter->drawRect(place.adjusted(0, 0, -1, -1));
        painter->restore();
        const bool enabled = (bar->state & State_Enabled) &&
                             (button == SC_ScrollBarSubLine ? bar->sliderValue > bar->minimum : bar->sliderValue < bar->maximum);
        const QColor colour = bar->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
        DrawArrowGlyph(*painter, QRectF(place).center(), place.width() * 0.25, button == SC_ScrollBarSubLine, colour);
    }
}

}  // namespace framework
