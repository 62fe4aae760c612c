#include "forms/ScreenShape.h"

#include <algorithm>

namespace {

struct KnownScreen {
    int width, height;
    int dpi;  // 0: any
    ScreenShape shape;
};

constexpr KnownScreen kKnown[] = {
    {240, 320, 0, {0, FormLayout::Portrait, 1}},   {320, 240, 0, {1, FormLayout::Landscape, 1}},
    {240, 240, 0, {2, FormLayout::Square, 1}},     {480, 640, 192, {3, FormLayout::Portrait, 2}},
    {640, 480, 192, {4, FormLayout::Landscape, 2}}, {480, 640, 96, {5, FormLayout::Portrait, 2}},
    {640, 480, 96, {6, FormLayout::Landscape, 2}},
};

}  // namespace

ScreenShape ScreenShape::Of(const framework::Screen& screen) {
    for (const auto& known : kKnown) {
        if (known.width != screen.width() || known.height != screen.height()) continue;
        if (known.dpi == 0 || (known.dpi == screen.dpi_x() && known.dpi == screen.dpi_y())) return known.shape;
    }
    const FormLayout layout = screen.height() > screen.width()   ? FormLayout::Portrait
                              : screen.width() > screen.height() ? FormLayout::Landscape
                                                                 : FormLayout::Square;
    const int dpi = std::min(screen.dpi_x(), screen.dpi_y());
    const int scale = std::max(1, (dpi + framework::Screen::kDesignDpi / 2) / framework::Screen::kDesignDpi);
    return {kUnrecognised, layout, scale};
}
