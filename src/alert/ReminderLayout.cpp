#include "alert/ReminderLayout.h"

#include <algorithm>

namespace {

constexpr int kCentredSide = 320;
constexpr int kCentringOffset = 40;

}  // namespace

ReminderLayout::ReminderLayout(const framework::Screen& screen, int view_width, int view_height)
    : screen_(screen), view_height_(view_height) {
    if (view_width == screen_.ScaleX(kCentredSide)) x_offset_ = screen_.ScaleX(kCentringOffset);
    if (view_height == screen_.ScaleY(kCentredSide)) y_offset_ = screen_.ScaleY(kCentringOffset);
}

CRect ReminderLayout::Place(const CRect& design) const {
    return {x_offset_ + ScaleX(design.left), y_offset_ + ScaleY(design.top), x_offset_ + ScaleX(design.right),
            y_offset_ + ScaleY(design.bottom)};
}

CRect ReminderLayout::PlaceLengthList(int rows, int row_pixels, int border) const {
    constexpr int kFewestRows = 3;
    const CRect column = Place(kLengthList);
    const int top = Place(kSnooze).bottom + 1;
    const int fitting = (view_height_ - top - 2 * border) / std::max(1, row_pixels);
    const int shown = std::clamp(fitting, std::min(kFewestRows, rows), rows);
    return {column.left, top, column.right, top + shown * row_pixels + 2 * border};
}

CRect ReminderLayout::PlaceNote() const {
    CRect room = Place(kNoteRoom);
    room.bottom = std::max(room.bottom, view_height_ - ScaleY(kNoteMargin));
    return room;
}

CRect ReminderLayout::PlaceAt(CPoint design, CSize design_size) const {
    return Place({design.x, design.y, design.x + design_size.cx, design.y + design_size.cy});
}
