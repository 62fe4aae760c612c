#include "AlertBackground.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "AlertPalette.h"

namespace alertart {

namespace {

constexpr int kRays = 18;

void PaintPlate(QPainter& painter, const QRectF& rect, qreal radius) {
    painter.setPen(QPen(kPlateBorder, 1));
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(236, 226, 210));
    fill.setColorAt(0.25, kCream);
    fill.setColorAt(1, kCream);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
}

}  // namespace

void AlertBackground::Paint(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(0, 0, kSize, kSize), Qt::IntersectClip);
    PaintSky(painter, QRectF(0, 0, kSize, kSize));
    PaintBrand(painter);
    PaintPlates(painter);
    painter.restore();
}

void AlertBackground::PaintWideSky(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kSkyMargin, kSkyMargin);
    PaintSky(painter, QRectF(-kSkyMargin, -kSkyMargin, kSkySize, kSkySize));
    painter.restore();
}

void AlertBackground::PaintSky(QPainter& painter, const QRectF& area) {
    // Light round the clock, the form's own orange at the edges: on a screen taller than
    // the picture there is no seam where the form's erased border begins.
    const QPointF centre = kAnimation.center();
    QRadialGradient sky(centre, 190);
    sky.setColorAt(0, kSkyOrange);
    sky.setColorAt(0.45, QColor(236, 158, 38));
    sky.setColorAt(1, kFrameOrange);
    painter.fillRect(area, sky);

    // Rays from the clock: every other wedge lighter, fading out towards the edges.
    QRadialGradient light(centre, 170);
    light.setColorAt(0, QColor(255, 255, 255, 46));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    const qreal reach = 400;
    for (int ray = 0; ray < kRays; ray += 2) {
        const qreal from = 2 * std::numbers::pi * ray / kRays;
        const qreal to = 2 * std::numbers::pi * (ray + 1) / kRays;
        QPainterPath wedge(centre);
        wedge.lineTo(centre + QPointF(std::cos(from), std::sin(from)) * reach);
        wedge.lineTo(centre + QPointF(std::cos(to), std::sin(to)) * reach);
        wedge.closeSubpath();
        painter.drawPath(wedge);
    }
    QRadialGradient glow(centre, 72);
    glow.setColorAt(0, QColor(255, 244, 200, 150));
    glow.setColorAt(1, QColor(255, 244, 200, 0));
    painter.setBrush(glow);
    painter.drawEllipse(centre, 72, 72);
}

void AlertBackground::PaintBrand(QPainter& painter) {
    painter.setFont(BoldFont(28));
    painter.setPen(QColor(150, 70, 0, 120));
    painter.drawText(QRectF(15, 9, 96, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KIVO"));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(14, 8, 96, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KIVO"));
    QFont small = BoldFont(11);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    painter.setFont(small);
    painter.setPen(QColor(255, 240, 215));
    painter.drawText(QRectF(15, 42, 96, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ALARM"));
    painter.setPen(QPen(QColor(255, 255, 255, 140), 1));
    painter.drawLine(QPointF(14, 64.5), QPointF(104, 64.5));
}

void AlertBackground::PaintPlates(QPainter& painter) {
    PaintPlate(painter, kTimePlate, 8);
    PaintPlate(painter, kSnoozeField, 4);
    PaintPlate(painter, kDescriptionPlate, 6);
    // "Zz" beside the snooze length says what the length is for.
    painter.setFont(BoldFont(13));
    painter.setPen(QColor(150, 70, 0, 120));
    painter.drawText(QRectF(13, 194, 26, 19), Qt::AlignCenter, QStringLiteral("Zz"));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(12, 193, 26, 19), Qt::AlignCenter, QStringLiteral("Zz"));
}

}  // namespace alertart
