#include "alert/ReminderLayout.h"

namespace {

constexpr int kCentredSide = 320;
constexpr int kCentringOffset = 40;

}  // namespace

ReminderLayout::ReminderLayout(const framework::Screen& screen, int view_width, int view_height) : screen_(screen) {
    if (view_width == screen_.ScaleX(kCentredSide)) x_offset_ = screen_.ScaleX(kCentringOffset);
    if (view_height == screen_.ScaleY(kCentredSide)) y_offset_ = screen_.ScaleY(kCentringOffset);
}

CRect ReminderLayout::Place(const CRect& design) const {
    return {x_offset_ + ScaleX(design.left), y_offset_ + ScaleY(design.top), x_offset_ + ScaleX(design.right),
            y_offset_ + ScaleY(design.bottom)};
}

CRect ReminderLayout::PlaceAt(CPoint design, CSize design_size) const {
    return Place({design.x, design.y, design.x + design_size.cx, design.y + design_size.cy});
}
