#pragma once
// Where the reminder's parts go: its design is 240 x 240 pixels of a 96-dpi screen,
// scaled to the handheld's dots per inch and centred on a side that is 320 design
// pixels long (a portrait or landscape screen), so the picture sits in the middle.

#include "framework/Geometry.h"
#include "framework/Screen.h"

class ReminderLayout {
public:
    // Design rectangles (left, top, right, bottom).
    static constexpr CRect kDismiss{13, 82, 13 + 95, 82 + 58};
    static constexpr CRect kSnooze{11, 141, 11 + 93, 141 + 47};
    static constexpr CRect kLengthArrow{90, 196, 90 + 17, 196 + 15};
    static constexpr CRect kLengthList{32, 170, 32 + 65, 170 + 67};
    static constexpr CRect kAnimation{112, 40, 112 + 121, 40 + 146};
    static constexpr CRect kTime{116, 9, 205, 38};
    static constexpr CRect kAmPm{202, 20, 202 + 32, 20 + 16};
    static constexpr CRect kDescription{130, 197, 130 + 97, 197 + 26};
    // The room a long note may take: under the ringing clock, right of the snooze length.
    static constexpr CRect kNoteRoom{112, 190, 233, 236};
    // Design pixels kept free below the note, at the view's bottom edge.
    static constexpr int kNoteMargin = 3;
    static constexpr CRect kSnoozeLabel{43, 195, 43 + 47, 195 + 15};
    // A 24-hour time has no AM/PM beside it and moves this many screen pixels right.
    static constexpr int kTwentyFourHourShift = 8;
    // Design pixels between a 12-hour time and its AM / PM.
    static constexpr int kMarkerGap = 3;

    ReminderLayout(const framework::Screen& screen, int view_width, int view_height);

    // A design rectangle on this screen, offset into the view.
    CRect Place(const CRect& design) const;
    // The open snooze-length list: under the Snooze button, in the length's column, as
    // many whole rows of `row_pixels` as the view holds below it (3 to `rows`), inside
    // a border of `border` pixels.
    CRect PlaceLengthList(int rows, int row_pixels, int border) const;
    // The note's room: kNoteRoom, reaching down to the view's bottom edge when the view
    // is taller than the design.
    CRect PlaceNote() const;
    // Where a picture of that design size goes with its top left corner at the design point.
    CRect PlaceAt(CPoint design, CSize design_size) const;
    int ScaleX(int design) const { return screen_.ScaleX(design); }
    int ScaleY(int design) const { return screen_.ScaleY(design); }
    CPoint Offset() const { return {x_offset_, y_offset_}; }

private:
    framework::Screen screen_;
    int view_height_ = 0;
    int x_offset_ = 0;
    int y_offset_ = 0;
};
