#include "AlertButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "AlertBackground.h"
#include "AlertPalette.h"

namespace alertart {

namespace {

struct Look {
    QColor top, bottom, border;
    QString label;
    qreal label_pixels;
};

Look LookOf(AlertButton::Kind kind) {
    if (kind == AlertButton::Kind::dismiss)
        return {QColor(232, 66, 54), QColor(166, 22, 24), QColor(104, 8, 10), QStringLiteral("Dismiss"), 18};
    return {QColor(98, 128, 212), QColor(48, 72, 150), QColor(26, 40, 96), QStringLiteral("Snooze"), 16};
}

QColor Darker(const QColor& colour) { return colour.darker(125); }

}  // namespace

QRect AlertButton::Place(Kind kind) {
    switch (kind) {
        case Kind::dismiss: return {13, 82, 95, 58};
        case Kind::snooze: return {11, 141, 93, 47};
        case Kind::arrow: return {90, 196, 17, 15};
    }
    return {};
}

void AlertButton::Paint(QPainter& painter, Kind kind, bool pressed) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect place = Place(kind);
    painter.setClipRect(QRect(QPoint(0, 0), place.size()), Qt::IntersectClip);
    painter.save();
    painter.translate(-place.topLeft());
    AlertBackground::Paint(painter);
    painter.restore();
    if (kind == Kind::arrow)
        PaintArrow(painter, pressed);
    else {
        PaintCapsule(painter, kind, pressed);
        PaintLabel(painter, kind, pressed);
    }
    painter.restore();
}

void AlertButton::PaintCapsule(QPainter& painter, Kind kind, bool pressed) {
    const QRect place = Place(kind);
    const Look look = LookOf(kind);
    // Up, the button stands 2 pixels above its shadow; pressed, it sits down on it.
    const QRectF shape(2.5, pressed ? 3.5 : 2.5, place.width() - 5, place.height() - 7);
    const qreal radius = place.height() / 5.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 40, 0, pressed ? 60 : 90));
    painter.drawRoundedRect(shape.translated(0, pressed ? 1 : 3), radius, radius);

    QLinearGradient fill(shape.topLeft(), shape.bottomLeft());
    fill.setColorAt(0, pressed ? Darker(look.top) : look.top);
    fill.setColorAt(1, pressed ? Darker(look.bottom) : look.bottom);
    painter.setPen(QPen(look.border, 1.2));
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, radius, radius);

    // A gloss on the upper half, dimmer while pressed.
    QPainterPath gloss;
    gloss.addRoundedRect(shape.adjusted(2, 2, -2, -shape.height() / 2), radius - 2, radius - 2);
    QLinearGradient shine(shape.topLeft(), QPointF(shape.left(), shape.center().y()));
    shine.setColorAt(0, QColor(255, 255, 255, pressed ? 40 : 110));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawPath(gloss);
}

void AlertButton::PaintLabel(QPainter& painter, Kind kind, bool pressed) {
    const QRect place = Place(kind);
    const Look look = LookOf(kind);
    QRectF text(2.5, pressed ? 3.5 : 2.5, place.width() - 5, place.height() - 7);
    if (kind == Kind::snooze) text.adjust(0, 0, -10, 0);  // room for the "z z" on the right
    painter.setFont(BoldFont(look.label_pixels));
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawText(text.translated(0, 1), Qt::AlignCenter, look.label);
    painter.setPen(Qt::white);
    painter.drawText(text, Qt::AlignCenter, look.label);
    if (kind != Kind::snooze) return;
    const qreal drop = pressed ? 1 : 0;
    painter.setPen(QColor(255, 255, 255, 210));
    painter.setFont(BoldFont(9));
    painter.drawText(QRectF(place.width() - 22, 10 + drop, 8, 10), Qt::AlignCenter, QStringLiteral("z"));
    painter.setFont(BoldFont(12));
    painter.drawText(QRectF(place.width() - 16, 5 + drop, 10, 12), Qt::AlignCenter, QStringLiteral("Z"));
}

void AlertButton::PaintArrow(QPainter& painter, bool pressed) {
    const QRectF shape(0.5, 0.5, 16, 14);
    QLinearGradient fill(shape.topLeft(), shape.bottomLeft());
    fill.setColorAt(0, pressed ? QColor(222, 170, 100) : QColor(255, 242, 214));
    fill.setColorAt(1, pressed ? QColor(242, 206, 152) : QColor(236, 198, 136));
    painter.setPen(QPen(kPlateBorder, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, 3, 3);
    const qreal drop = pressed ? 1 : 0;
    QPainterPath arrow;
    arrow.moveTo(4.5, 5 + drop);
    arrow.lineTo(12.5, 5 + drop);
    arrow.lineTo(8.5, 10 + drop);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(96, 52, 0));
    painter.drawPath(arrow);
}

}  // namespace alertart
