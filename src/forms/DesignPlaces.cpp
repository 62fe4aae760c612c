#include "forms/DesignPlaces.h"

#include "framework/CWnd.h"
#include "framework/Screen.h"

FormLayout DesignPlaces::ShapeOf(int width, int height) {
    if (height > width) return FormLayout::Portrait;
    if (width > height) return FormLayout::Landscape;
    return FormLayout::Square;
}

void DesignPlaces::Apply(CWnd& form, std::span<const ControlPlace> places) {
    const auto screen = framework::Screen::current();
    const FormLayout shape = ShapeOf(screen.width(), screen.height());
    for (const auto& place : places) {
        CWnd* control = form.GetDlgItem(place.id);
        if (control == nullptr) continue;
        const DesignRect& r = shape == FormLayout::Landscape ? place.landscape
                              : shape == FormLayout::Square  ? place.square
                                                             : place.portrait;
        const int left = screen.ScaleX(r.x);
        const int top = screen.ScaleY(r.y);
        control->MoveWindow({left, top, left + screen.ScaleX(r.cx), top + screen.ScaleY(r.cy)});
    }
}
