#include "kivo/CAlarmItem.h"

#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "alarms/RefireTime.h"
#include "ce/Locale.h"
#include "framework/CDC.h"
#include "kivo/ListPalette.h"
#include "kivo/RowArt.h"

namespace {

using framework::COLORREF;
using framework::GetSysColor;

// Sunday first, as the handheld's calendar shows a week; the file counts Monday as bit 0.
constexpr char16_t kDayLetters[7] = {u'S', u'M', u'T', u'W', u'T', u'F', u'S'};
constexpr int kDayBits[7] = {6, 0, 1, 2, 3, 4, 5};

}  // namespace

CAlarmItem::CAlarmItem() : art_(RowArt::Acquire()) {}

CAlarmItem::~CAlarmItem() { RowArt::Release(); }

std::unique_ptr<CAlarmItem> CAlarmItem::Read(const std::u16string& folder, const std::u16string& file_name) {
    AlarmStoreLock lock;
    if (!lock.Lock()) return nullptr;
    CAlarmDB alarm;
    if (alarm.OpenForReading(folder + file_name) != CAlarmDB::kOk) return nullptr;
    auto item = std::make_unique<CAlarmItem>();
    if (!alarm.ReadDescription(item->description)) return nullptr;
    std::uint8_t play = 0, beam = 0, active = 0, days = 0;
    alarm.GetPlaySound(play);
    alarm.GetBeamIr(beam);
    item->has_sound = play != 0 && alarm.GetSoundFile(nullptr, 0) != 0 ? 1 : 0;
    item->has_infrared = beam != 0 && alarm.GetIrDatabase(nullptr, 0) != 0 ? 1 : 0;
    int hour = 0, minute = 0;
    if (alarm.GetAlarmTime(hour, minute) != CAlarmDB::kOk) hour = minute = 0;
    alarm.GetDays(days);
    alarm.GetActive(active);
    if (int refire_hour = 0, refire_minute = 0, second = 0;
        alarm.GetRefireTime(refire_hour, refire_minute, second) == CAlarmDB::kOk && RefireTime::Pending(refire_hour, refire_minute))
        item->refire = refire_hour * 60 + refire_minute;
    alarm.Close();
    item->file_name = file_name;
    item->hour = static_cast<std::uint8_t>(hour);
    item->minute = static_cast<std::uint8_t>(minute);
    item->days = days;
    item->active = active == 1 ? 1 : 0;
    return item;
}

void CAlarmItem::CopyFrom(const CAlarmItem& other) {
    description = other.description;
    hour = other.hour;
    minute = other.minute;
    days = other.days;
    has_sound = other.has_sound;
    has_infrared = other.has_infrared;
    active = other.active;
    refire = other.refire;
}

std::u16string CAlarmItem::TimeText() const { return ClockText(hour, minute); }

std::u16string CAlarmItem::ClockText(int hour, int minute) {
    ce::SYSTEMTIME time{};
    time.wHour = static_cast<ce::WORD>(hour);
    time.wMinute = static_cast<ce::WORD>(minute);
    char16_t text[32] = {};
    if (ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, ce::TIME_NOSECONDS, &time, nullptr, text, 32) == 0) return u"--:--";
    return text;
}

std::u16string CAlarmItem::Fit(CDC& dc, const std::u16string& text, int width) {
    if (dc.GetTextExtent(text).cx <= width) return text;
    // The longest beginning that still leaves room for the dots (found by halving).
    std::size_t low = 0, high = text.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (dc.GetTextExtent(text.substr(0, middle) + u"...").cx <= width) low = middle;
        else high = middle - 1;
    }
    std::u16string cut = text.substr(0, low);
    while (!cut.empty() && cut.back() == u' ') cut.pop_back();
    return cut + u"...";
}

void CAlarmItem::Draw(CDC& dc, const CRect& row, bool selected) const {
    const RowArt& art = art_;
    const COLORREF back = selected ? GetSysColor(framework::COLOR_HIGHLIGHT) : GetSysColor(framework::COLOR_WINDOW);
    const COLORREF ink = selected ? GetSysColor(framework::COLOR_HIGHLIGHTTEXT) : kivo_palette::kInk;
    dc.FillSolidRect(row, back);
    dc.FillSolidRect({row.left, row.bottom - 1, row.right, row.bottom}, kivo_palette::kRule);

    // The check box sits where a tap arms or disarms the alarm (10..30, 1..25 design pixels).
    const int box = art.x(16);
    dc.StretchBlt({row.left + art.x(12), row.top + art.y(5), row.left + art.x(12) + box, row.top + art.y(5) + box},
                  art.picture(active != 0 ? RowArt::kChecked : RowArt::kUnchecked));

    const int text_left = row.left + art.x(36);
    const int right = row.right - art.x(6);
    dc.SelectFont(art.bold());
    dc.SetTextColor(active != 0 || selected ? ink : kivo_palette::kMuted);
    const std::u16string time = TimeText();
    const int time_width = dc.GetTextExtent(time).cx;
    const CRect first_line{text_left, row.top + art.y(2), right, row.top + art.y(26)};
    dc.DrawText(time, first_line, CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);

    dc.SelectFont(art.normal());
    dc.SetTextColor(ink);
    const int description_left = text_left + time_width + art.x(8);
    dc.DrawText(Fit(dc, description, right - description_left), {description_left, first_line.top, right, first_line.bottom},
                CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);

    const CRect second_line{text_left, row.top + art.y(28), right, row.top + art.y(46)};
    DrawDays(dc, second_line, selected);
    int badge_right = right;
    const int badges_left = right - (has_infrared + has_sound) * (art.x(16) + art.x(6));
    DrawRefire(dc, {second_line.left, second_line.top, badges_left, second_line.bottom}, second_line.left + 7 * art.x(14) + art.x(6),
               selected);
    const int badge = art.x(16);
    for (const auto& [shown, picture] : {std::pair{has_infrared, RowArt::kInfrared}, std::pair{has_sound, RowArt::kSound}}) {
        if (shown == 0) continue;
        const int top = second_line.top + (second_line.Height() - badge) / 2;
        // The badges are drawn for the window's white; on the highlight they keep a white plate.
        if (selected) {
            const int pad = art.x(2);
            dc.FillSolidRect({badge_right - badge - pad, top - pad, badge_right + pad, top + badge + pad},
                             GetSysColor(framework::COLOR_WINDOW));
        }
        dc.StretchBlt({badge_right - badge, top, badge_right, top + badge}, art.picture(picture));
        badge_right -= badge + art.x(6);
    }
}

void CAlarmItem::DrawDays(CDC& dc, const CRect& area, bool selected) const {
    const RowArt& art = art_;
    dc.SelectFont(art.small());
    const int step = art.x(14);
    const int mark = art.x(12);
    for (int position = 0; position < 7; ++position) {
        const bool set = (days >> kDayBits[position] & 1) != 0;
        const int left = area.left + position * step;
        const int top = area.top + (area.Height() - mark) / 2;
        const CRect cell{left, top, left + mark, top + mark};
        if (set) {
            dc.FillSolidRect(cell, selected ? GetSysColor(framework::COLOR_HIGHLIGHTTEXT) : kivo_palette::kNightLight);
            dc.SetTextColor(selected ? GetSysColor(framework::COLOR_HIGHLIGHT) : GetSysColor(framework::COLOR_HIGHLIGHTTEXT));
        } else {
            dc.SetTextColor(selected ? kivo_palette::kRule : kivo_palette::kMuted);
        }
        dc.DrawText(std::u16string(1, kDayLetters[position]), cell, CDC::DT_CENTER | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
    }
}

void CAlarmItem::DrawRefire(CDC& dc, const CRect& line, int left, bool selected) const {
    if (refire < 0 || left >= line.right) return;
    dc.SelectFont(art_.small());
    dc.SetTextColor(selected ? GetSysColor(framework::COLOR_HIGHLIGHTTEXT) : kivo_palette::kNightLight);
    // The reminder marks the snooze length with "Zz" too.
    const std::u16string text = u"Zz " + ClockText(refire / 60, refire % 60);
    dc.DrawText(Fit(dc, text, line.right - left), {left, line.top, line.right, line.bottom},
                CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
}
