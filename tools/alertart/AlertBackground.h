#pragma once
// Picture 170: the reminder's 240 x 240 background. Warm orange that runs into the
// colour the form erases with, light rays from the ringing clock, the brand, and cream
// plates under the time, the snooze length and the description.

class QPainter;

namespace alertart {

class AlertBackground {
public:
    static constexpr int kSize = 240;
    // Paints the whole picture in design pixels; a button or an animation frame paints
    // it shifted, so that its own backdrop is exactly what lies under it.
    static void Paint(QPainter& painter);

private:
    static void PaintSky(QPainter& painter);
    static void PaintBrand(QPainter& painter);
    static void PaintPlates(QPainter& painter);
};

}  // namespace alertart
