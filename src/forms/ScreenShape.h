#pragma once
// The shape of the handheld's screen, which picks a form's layout and the scale of every
// pixel measure of the form base.
//
// The handheld screens the forms were designed for are recognised exactly (codes 0-6).
// Any other screen gets code -1 and is laid out by its proportions (higher than wide:
// portrait, wider than high: landscape, else square) at the scale its dots per inch
// give against 96 (rounded, at least 1), so an 800 x 480 screen at 96 dpi uses the
// landscape layout at scale 1 and a 480 x 480 one at 192 dpi the square layout at 2.

#include "framework/Screen.h"

enum class FormLayout { Portrait, Landscape, Square };

struct ScreenShape {
    static constexpr int kUnrecognised = -1;

    int code = 0;
    FormLayout layout = FormLayout::Portrait;
    int scale = 1;

    static ScreenShape Of(const framework::Screen& screen);
    bool operator==(const ScreenShape&) const = default;
};
