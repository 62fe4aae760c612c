#include "RingingClock.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "AlertBackground.h"
#include "AlertPalette.h"

namespace alertart {

namespace {

// The clock in the frame's design pixels: the centre of its face and its body's radius.
const QPointF kCentre(60.5, 80);
constexpr qreal kRadius = 38;
// It rocks about the point between its feet.
const QPointF kPivot(60.5, 130);
constexpr qreal kRockDegrees = 7;
// Where the bells sit, degrees either side of straight up, and how far out.
constexpr qreal kBellDegrees = 36;
constexpr qreal kBellDistance = kRadius + 8;
constexpr qreal kBellRadius = 15;
// The hammer stands on top of the body and swings this far onto a bell.
constexpr qreal kHammerLength = 19;
constexpr qreal kHammerDegrees = 38;

QPointF OnCircle(qreal radius, qreal degrees_from_up) {
    const qreal radians = degrees_from_up * std::numbers::pi / 180;
    return kCentre + QPointF(std::sin(radians), -std::cos(radians)) * radius;
}

}  // namespace

int RingingClock::StruckSide(int frame) {
    if (frame >= kRingingFrames) return 0;
    return frame % 2 == 0 ? -1 : 1;
}

void RingingClock::Paint(QPainter& painter, int frame) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(0, 0, kWidth, kHeight), Qt::IntersectClip);
    painter.save();
    painter.translate(-kAnimation.topLeft());
    AlertBackground::Paint(painter);
    painter.restore();

    const int side = StruckSide(frame);
    // The clock leans away from the bell the hammer strikes, and hops a little.
    painter.translate(kPivot);
    painter.rotate(-side * kRockDegrees);
    painter.translate(-kPivot + QPointF(0, side == 0 ? 0 : -1.5));
    PaintRings(painter, side, frame);
    PaintBells(painter);
    PaintHammer(painter, side);
    PaintBody(painter);
    PaintFace(painter, frame);
    painter.restore();
}

void RingingClock::PaintBells(QPainter& painter) {
    for (const qreal degrees : {-kBellDegrees, kBellDegrees}) {
        const QPointF bell = OnCircle(kBellDistance, degrees);
        // Its stem to the body, then the dome, lit from the top left.
        painter.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(OnCircle(kRadius - 2, degrees), bell);
        QRadialGradient metal(bell + QPointF(-5, -6), kBellRadius * 1.6);
        metal.setColorAt(0, QColor(255, 246, 190));
        metal.setColorAt(0.5, QColor(236, 190, 70));
        metal.setColorAt(1, QColor(160, 110, 20));
        painter.setPen(QPen(QColor(110, 70, 10), 1.2));
        painter.setBrush(metal);
        painter.drawEllipse(bell, kBellRadius, kBellRadius);
        painter.setBrush(QColor(110, 70, 10));
        painter.drawEllipse(OnCircle(kBellDistance + kBellRadius, degrees), 2.5, 2.5);
    }
}

void RingingClock::PaintHammer(QPainter& painter, int side) {
    // From the top of the body, leaning onto the struck bell.
    const QPointF root = OnCircle(kRadius - 1, 0);
    const qreal radians = side * kHammerDegrees * std::numbers::pi / 180;
    const QPointF head = root + QPointF(std::sin(radians), -std::cos(radians)) * kHammerLength;
    painter.setPen(QPen(QColor(70, 50, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(root, head);
    painter.setPen(QPen(QColor(70, 50, 30), 1));
    painter.setBrush(QColor(200, 200, 210));
    painter.drawEllipse(head, 4, 4);
}

void RingingClock::PaintBody(QPainter& painter) {
    // Feet first, so the body covers their tops.
    painter.setPen(QPen(QColor(70, 20, 16), 5, Qt::SolidLine, Qt::RoundCap));
    for (const qreal side : {-1.0, 1.0})
        painter.drawLine(kCentre + QPointF(side * 21, 30), kCentre + QPointF(side * 28, 42));
    QRadialGradient shell(kCentre + QPointF(-12, -14), kRadius * 1.5);
    shell.setColorAt(0, QColor(250, 96, 80));
    shell.setColorAt(0.6, QColor(206, 36, 34));
    shell.setColorAt(1, QColor(140, 14, 18));
    painter.setPen(QPen(QColor(100, 10, 12), 1.5));
    painter.setBrush(shell);
    painter.drawEllipse(kCentre, kRadius, kRadius);
}

void RingingClock::PaintFace(QPainter& painter, int frame) {
    const qreal face = kRadius - 7;
    QRadialGradient paper(kCentre + QPointF(-6, -8), face * 1.4);
    paper.setColorAt(0, Qt::white);
    paper.setColorAt(1, QColor(238, 230, 214));
    painter.setPen(QPen(QColor(110, 16, 16), 1.2));
    painter.setBrush(paper);
    painter.drawEllipse(kCentre, face, face);

    for (int mark = 0; mark < 12; ++mark) {
        const bool quarter = mark % 3 == 0;
        painter.setPen(QPen(QColor(60, 60, 70), quarter ? 2.4 : 1.3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(OnCircle(face - 3, mark * 30), OnCircle(face - (quarter ? 9 : 6), mark * 30));
    }
    // Seven o'clock, the hour people wake; the second hand goes round once a cycle.
    PaintHand(painter, 210, face * 0.52, 3.6, QColor(40, 40, 50));
    PaintHand(painter, 0, face * 0.78, 2.6, QColor(40, 40, 50));
    PaintHand(painter, frame * 360.0 / kFrames, face * 0.86, 1.2, QColor(210, 30, 30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 30, 30));
    painter.drawEllipse(kCentre, 2.8, 2.8);
}

void RingingClock::PaintHand(QPainter& painter, qreal degrees, qreal length, qreal width, const QColor& colour) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(kCentre, OnCircle(length, degrees));
}

void RingingClock::PaintRings(QPainter& painter, int side, int frame) {
    if (side == 0) return;
    const QPointF bell = OnCircle(kBellDistance, side * kBellDegrees);
    // Rings spread on alternate strikes of the same bell.
    const qreal spread = (frame / 2) % 2 == 0 ? 0 : 4;
    const qreal outward = side * kBellDegrees;  // degrees from up
    for (int ring = 0; ring < 3; ++ring) {
        const qreal radius = 18 + ring * 6 + spread;
        const QRectF box(bell - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
        // Qt counts arc angles from three o'clock, anticlockwise, in 16ths of a degree.
        const qreal start = 90 - outward - 32;
        painter.setPen(QPen(QColor(255, 255, 255, 235 - ring * 60), 2.6 - ring * 0.4, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(box, static_cast<int>(start * 16), 64 * 16);
    }
}

}  // namespace alertart
