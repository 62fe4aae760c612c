#pragma once
// Pictures 130-169: the ringing alarm clock, one frame every 120 ms. The clock rocks
// on its feet while the hammer strikes one bell and then the other, with rings going
// out from the struck bell; after 28 frames (3.4 s) it rests for 12 (1.4 s) and starts
// again. A red second hand goes once round in the 40 frames.

#include <QColor>

class QPainter;

namespace alertart {

class RingingClock {
public:
    static constexpr int kFirstId = 130;
    static constexpr int kFrames = 40;
    static constexpr int kRingingFrames = 28;
    static constexpr int kWidth = 121;
    static constexpr int kHeight = 146;

    // Paints frame `frame` (0..39) in the animation's design pixels, over the part of
    // the background it covers.
    static void Paint(QPainter& painter, int frame);

private:
    // The struck side, -1 left, +1 right; 0 while the clock rests.
    static int StruckSide(int frame);
    static void PaintBells(QPainter& painter);
    static void PaintHammer(QPainter& painter, int side);
    static void PaintBody(QPainter& painter);
    static void PaintFace(QPainter& painter, int frame);
    static void PaintRings(QPainter& painter, int side, int frame);
    static void PaintHand(QPainter& painter, qreal degrees, qreal length, qreal width, const QColor& colour);
};

}  // namespace alertart
