#pragma once
// Places for a form's controls in design pixels (a 96-dpi screen's), one per screen
// shape, moved to at the screen's scale on every size change. The shape comes from the
// screen's width and height alone: taller than wide is portrait, wider than tall
// landscape, else square.

#include <span>

#include "forms/ScreenShape.h"

class CWnd;

struct DesignRect {
    int x, y, cx, cy;
};

struct ControlPlace {
    int id;
    DesignRect landscape;
    DesignRect portrait;
    DesignRect square;
};

class DesignPlaces {
public:
    static FormLayout ShapeOf(int width, int height);
    // Moves every listed control of `form` that it has to its place for the screen now.
    static void Apply(CWnd& form, std::span<const ControlPlace> places);
};
