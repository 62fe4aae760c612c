#include "framework/ArrowGlyph.h"

#include <QPainter>
#include <QPolygonF>
#include <QWidget>

namespace framework {

void DrawArrowGlyph(QPainter& painter, QPointF centre, double half, bool up, const QColor& color) {
    const double rise = (up ? -1 : 1) * half / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(QPolygonF{{centre.x() - half, centre.y() - rise}, {centre.x() + half, centre.y() - rise},
                                  {centre.x(), centre.y() + rise}});
    painter.restore();
}

QColor ArrowColor(const QWidget& control) {
    return control.isEnabled() ? control.palette().color(QPalette::ButtonText)
                               : control.palette().color(QPalette::Disabled, QPalette::ButtonText);
}

}  // namespace framework
