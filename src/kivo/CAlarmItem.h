#pragma once
// One row of the alarm list: what the list shows of one alarm file, read once when the
// row is made and refreshed only by the list's own operations. Rows share their fonts
// and pictures (RowArt) for as long as any row exists.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Geometry.h"

class CDC;
class RowArt;

class CAlarmItem {
public:
    CAlarmItem();
    ~CAlarmItem();
    CAlarmItem(const CAlarmItem&) = delete;
    CAlarmItem& operator=(const CAlarmItem&) = delete;

    // Reads `folder` + `file_name` under the store lock; nothing when the store cannot be
    // locked, the file cannot be opened, or it has no readable description.
    static std::unique_ptr<CAlarmItem> Read(const std::u16string& folder, const std::u16string& file_name);

    // Takes over what an edit can change (not the file name).
    void CopyFrom(const CAlarmItem& other);
    // Minutes after midnight: the order of the list.
    int TimeOfDay() const { return hour * 60 + minute; }

    // Draws the row into `row` (the full row rectangle), on the highlight when selected.
    void Draw(CDC& dc, const CRect& row, bool selected) const;
    // The alarm time as the handheld's regional settings show it, without seconds.
    std::u16string TimeText() const;
    // `text` as it fits into `width` pixels of the selected font, cut with "...".
    static std::u16string Fit(CDC& dc, const std::u16string& text, int width);

    std::u16string file_name;
    std::u16string description;
    int active = 0;
    int has_sound = 0;
    int has_infrared = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t days = 0;
    // The pending repeat (a snooze, or a ring not yet answered) as minutes after
    // midnight; -1 for none.
    int refire = -1;

private:
    void DrawDays(CDC& dc, const CRect& area, bool selected) const;
    // "Zz 8:05 AM" (the time it rings again) from `left` to `right` of the days' line, when a repeat is pending.
    void DrawRefire(CDC& dc, const CRect& line, int left, bool selected) const;
    static std::u16string ClockText(int hour, int minute);

    const RowArt& art_;
};
