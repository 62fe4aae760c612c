#include "kivo/CClock.h"

#include <algorithm>

#include "alarms/UserClock.h"
#include "ce/Locale.h"
#include "framework/CDC.h"
#include "framework/Screen.h"
#include "kivo/ListPalette.h"

namespace {

constexpr const char16_t* kWeekdays[7] = {u"SUN", u"MON", u"TUE", u"WED", u"THU", u"FRI", u"SAT"};
constexpr const char16_t* kMonths[12] = {u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN",
                                         u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};

// Hours and minutes as the user's time format writes them ("9:05", "09:05", "21:05"),
// as the rows show the alarms' times.
std::u16string figures_of(const ce::SYSTEMTIME& time, bool twelve_hours) {
    char16_t text[32] = {};
    if (ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, ce::TIME_NOSECONDS | ce::TIME_NOTIMEMARKER, &time, nullptr, text, 32) == 0)
        return UserClock::HoursAndMinutes(time.wHour, time.wMinute, twelve_hours);
    std::u16string figures(text);
    figures.erase(std::remove(figures.begin(), figures.end(), u' '), figures.end());
    return figures;
}

}  // namespace

std::u16string CClock::DateLine(const ce::SYSTEMTIME& time) {
    const std::u16string weekday = time.wDayOfWeek < 7 ? kWeekdays[time.wDayOfWeek] : u"";
    const std::u16string month = time.wMonth >= 1 && time.wMonth <= 12 ? kMonths[time.wMonth - 1] : u"";
    return weekday + u"." + month + u"." + UserClock::TwoDigits(time.wDay) + u"." + UserClock::TwoDigits(time.wYear);
}

void CClock::SetDateBeside(bool beside) {
    if (date_beside_ == beside) return;
    date_beside_ = beside;
    stale_ = true;
    Invalidate();
}

int CClock::OnCreate() {
    large_.Create(u"Arial", 24, CFont::FW_BOLD);
    seconds_.Create(u"Arial", 11, CFont::FW_BOLD);
    date_.Create(u"Arial", 8, CFont::FW_BOLD);
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    Show(now);
    SetTimer(kTimer, kTickMs);
    return 0;
}

void CClock::OnTimer(ce::UINT_PTR id) {
    if (id != kTimer) return;
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    if (now.wSecond != shown_.wSecond || now.wMinute != shown_.wMinute || now.wHour != shown_.wHour) Show(now);
}

void CClock::Show(const ce::SYSTEMTIME& now) {
    shown_ = now;
    stale_ = true;
    // The user's format is read again every second: a change in the regional settings
    // shows at once, not at the next start.
    twelve_hours_ = UserClock::UsesTwelveHours();
    figures_ = figures_of(now, twelve_hours_);
    // The text a person (or `handheld ui dump`) reads off the clock.
    std::u16string text = figures_ + u":" + UserClock::TwoDigits(now.wSecond);
    if (twelve_hours_) text += u" " + std::u16string(UserClock::Marker(now.wHour));
    text += u" " + DateLine(now);
    SetWindowText(text);
    Invalidate();
}

void CClock::OnSize(ce::UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    off_screen_ = CBitmap();
    stale_ = true;
}

void CClock::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return;
    if (!off_screen_.IsLoaded()) {
        if (!off_screen_.CreateBitmap(client.Width(), client.Height())) return;
        stale_ = true;
    }
    if (stale_) {
        CDC memory(off_screen_.surface());
        Draw(memory, client);
        stale_ = false;
    }
    dc.StretchBlt(client, off_screen_);
}

void CClock::Draw(CDC& dc, const CRect& client) {
    const auto screen = framework::Screen::current();
    dc.FillSolidRect(client, kivo_palette::kNight);
    dc.FillSolidRect({client.left, client.bottom - screen.ScaleY(3), client.right, client.bottom}, kivo_palette::kAccent);

    const std::u16string& figures = figures_;
    const std::u16string seconds = UserClock::TwoDigits(shown_.wSecond);
    const std::u16string marker = twelve_hours_ ? std::u16string(UserClock::Marker(shown_.wHour)) : u"";
    dc.SelectFont(large_);
    const CSize big = dc.GetTextExtent(figures);
    dc.SelectFont(seconds_);
    const CSize small = dc.GetTextExtent(seconds);
    const int gap = screen.ScaleX(4);
    const int marker_width = marker.empty() ? 0 : dc.GetTextExtent(marker).cx + gap;
    const int width = big.cx + gap + std::max(small.cx, marker_width);
    const std::u16string date = DateLine(shown_);
    dc.SelectFont(date_);
    const CSize date_size = dc.GetTextExtent(date);
    const int date_gap = 3 * gap;
    const int group_width = date_beside_ ? width + date_gap + date_size.cx : width;

    const int date_height = date_beside_ ? 0 : screen.ScaleY(14);
    const int figures_top = client.top + (client.Height() - screen.ScaleY(3) - date_height - big.cy) / 2;
    const int left = client.left + std::max(0, (client.Width() - group_width) / 2);
    dc.SelectFont(large_);
    dc.SetTextColor(kivo_palette::kClockText);
    dc.DrawText(figures, {left, figures_top, left + big.cx, figures_top + big.cy}, CDC::DT_LEFT | CDC::DT_SINGLELINE);

    // Seconds beside the minutes' top, the AM / PM marker under them.
    const int side = left + big.cx + gap;
    const int seconds_top = figures_top + screen.ScaleY(4);
    dc.SelectFont(seconds_);
    dc.SetTextColor(kivo_palette::kAccent);
    dc.DrawText(seconds, {side, seconds_top, side + small.cx * 2, seconds_top + small.cy}, CDC::DT_LEFT | CDC::DT_SINGLELINE);
    if (!marker.empty()) {
        dc.SetTextColor(kivo_palette::kClockDim);
        const int marker_top = figures_top + big.cy - small.cy - screen.ScaleY(2);
        dc.DrawText(marker, {side, marker_top, side + marker_width * 2, marker_top + small.cy}, CDC::DT_LEFT | CDC::DT_SINGLELINE);
    }
    dc.SelectFont(date_);
    dc.SetTextColor(kivo_palette::kClockDim);
    if (date_beside_) {
        // On the line of the marker, so the two read as one row under the seconds.
        const int date_left = left + width + date_gap;
        const int date_top = figures_top + big.cy - date_size.cy - screen.ScaleY(4);
        dc.DrawText(date, {date_left, date_top, client.right, date_top + date_size.cy}, CDC::DT_LEFT | CDC::DT_SINGLELINE);
        return;
    }
    const int date_top = figures_top + big.cy - screen.ScaleY(2);
    dc.DrawText(date, {client.left, date_top, client.right, date_top + date_height}, CDC::DT_CENTER | CDC::DT_SINGLELINE);
}
