#pragma once
// The reminder's colours and the places of what the form draws over its background,
// in design pixels of the 240 x 240 picture.

#include <QColor>
#include <QFont>
#include <QRectF>

namespace alertart {

// The colour the form erases with around the picture on a taller screen.
inline const QColor kFrameOrange(221, 136, 4);
inline const QColor kSkyOrange(247, 178, 64);
inline const QColor kCream(255, 248, 234);
inline const QColor kPlateBorder(176, 96, 0);
inline const QColor kTimeBlue(64, 90, 170);

// Plates under the form's own texts and controls.
inline const QRectF kTimePlate(112.5, 4.5, 122, 36);
inline const QRectF kSnoozeField(40.5, 193.5, 68, 19);
inline const QRectF kDescriptionPlate(127.5, 193.5, 106, 34);
// The animation's place; the clock rings around its centre.
inline const QRectF kAnimation(112, 40, 121, 146);

inline QFont BoldFont(qreal pixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(pixels));
    font.setBold(true);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace alertart
