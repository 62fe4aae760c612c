#pragma once
// Pictures 171-176: the reminder's buttons, up and pressed. Each is drawn over the part
// of the background it covers, so it sits on the form without a seam at any scale.

#include <QRect>
#include <QString>

class QPainter;

namespace alertart {

class AlertButton {
public:
    enum class Kind { dismiss, snooze, arrow };

    struct Picture {
        int id;
        Kind kind;
        bool pressed;
    };
    static constexpr Picture kPictures[] = {
        {171, Kind::snooze, false}, {172, Kind::arrow, true},    {173, Kind::arrow, false},
        {174, Kind::dismiss, true}, {175, Kind::dismiss, false}, {176, Kind::snooze, true},
    };

    // Where the button stands on the background, in design pixels.
    static QRect Place(Kind kind);
    // Paints the button in its own design pixels (0, 0 is its top left).
    static void Paint(QPainter& painter, Kind kind, bool pressed);

private:
    static void PaintCapsule(QPainter& painter, Kind kind, bool pressed);
    static void PaintLabel(QPainter& painter, Kind kind, bool pressed);
    static void PaintArrow(QPainter& painter, bool pressed);
};

}  // namespace alertart
