#pragma once
// Picture 170: the reminder's 240 x 240 background. Warm orange that runs into the
// colour the form erases with, light rays from the ringing clock, the brand, and cream
// plates under the time, the snooze length and the description.

class QPainter;
class QRectF;

namespace alertart {

class AlertBackground {
public:
    static constexpr int kSize = 240;
    // Picture 177: the sky alone, wider by kSkyMargin on every side. The reminder lays it
    // under picture 170, so that a screen longer than the picture is sky to its edges.
    static constexpr int kSkyMargin = 40;
    static constexpr int kSkySize = kSize + 2 * kSkyMargin;
    // Paints the whole picture in design pixels; a button or an animation frame paints
    // it shifted, so that its own backdrop is exactly what lies under it.
    static void Paint(QPainter& painter);
    static void PaintWideSky(QPainter& painter);

private:
    // The sky over `area`, in the background's coordinates.
    static void PaintSky(QPainter& painter, const QRectF& area);
    static void PaintBrand(QPainter& painter);
    static void PaintPlates(QPainter& painter);
};

}  // namespace alertart
