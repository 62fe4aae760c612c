#include "alert/CChildView.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmMessages.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmScheduler.h"
#include "alarms/UserClock.h"
#include "alarms/WallClock.h"
#include "alert/ReminderLayout.h"
#include "alert/SnoozeTable.h"
#include "ce/Sound.h"
#include "ce/Text.h"
#include "ce/Thread.h"
#include "ce/Time.h"
#include "ce/Windows.h"
#include "framework/CDC.h"
#include "framework/InputDispatcher.h"
#include "framework/WindowMessages.h"
#include "sound/CSoundWave.h"
#include "wake/DisplaySwitch.h"

namespace {

constexpr int kBackgroundBitmap = 170;
// The sky behind the background, reaching this many design pixels beyond it each way.
constexpr int kSkyBitmap = 177;
constexpr int kSkyMargin = 40;
constexpr int kSnoozeUp = 171, kArrowPressed = 172, kArrowUp = 173, kDismissPressed = 174, kDismissUp = 175,
              kSnoozePressed = 176;
constexpr framework::COLORREF kBackgroundColour = framework::RGB(221, 136, 4);
constexpr framework::COLORREF kTimeColour = framework::RGB(64, 90, 170);
constexpr framework::COLORREF kTextColour = framework::RGB(0, 0, 0);
// Font heights in design pixels, in the order of the view's fonts.
constexpr std::array<int, 4> kFontHeights = {12, 36, 22, 14};
// Those heights are of the whole character cell, ascent and descent; a font is sized by
// its em, which for Arial is 2048 of the cell's 2288 units.
constexpr double kEmPerCell = 2048.0 / 2288.0;
// The smallest note font, in design pixels of cell height.
constexpr int kNoteFloorHeight = 8;
constexpr int kNotePlate = 70;  // percent opaque
constexpr const char16_t* kKivoTitle = u"KIVO";
// The handheld's default sound, by the name every handheld knows it under.
constexpr const char16_t* kDefaultSound = u"SystemDefault";
// The player's own close wait: a stop that has not closed it by then never will.
constexpr auto kStopPatience = std::chrono::milliseconds(CSoundWave::kCloseWaitMilliseconds);

constexpr ce::WPARAM kReturnKey = 0x0D;
constexpr ce::WPARAM kEscapeKey = 0x1B;

bool strictly_inside(const CRect& rect, CPoint point) {
    return point.x > rect.left && point.x < rect.right && point.y > rect.top && point.y < rect.bottom;
}

void post_quit() { QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection); }

}  // namespace

CChildView::CChildView()
    : snooze_index_(SnoozeTable::kDefaultIndex),
      twelve_hours_(UserClock::UsesTwelveHours()),
      budget_(WallClock::Read().utc) {}

CChildView::~CChildView() { StopSound(); }

ReminderLayout CChildView::Layout() const {
    CRect client;
    GetClientRect(&client);
    return ReminderLayout(framework::Screen::current(), client.Width(), client.Height());
}

// The alarm goes off: load, arm, reschedule, beam, ring, animate, in this order.
int CChildView::OnCreate() {
    CreateFonts();
    CreateControls();
    Load();
    Armed();
    animation_ = std::make_unique<CAlertAnimation>();
    animation_->Create(this, Layout().Place(ReminderLayout::kAnimation));
    PostMessage(WM_BEGIN_RINGING);
    return 0;
}

// The alarm fired: its repeat is registered, and KIVO hears of a once-only alarm's
// deactivation.
void CChildView::Armed() {
    if (firing_.once) TellKivo();
    CAlarmScheduler::Reschedule(fired_);
}

// The frame is shown by now: the person sees the reminder as it starts to beam.
void CChildView::BeginRinging() {
    if (answered_) return;
    UpdateWindow();
    // Nothing of the alarm could be read yet: the person is woken all the same.
    if (firing_.busy) ce::PlaySoundW(kDefaultSound, nullptr, ce::SND_ALIAS);
    BeamThenRing(true);
}

// The sound follows the beaming, as on the handheld; the beaming runs on its own thread,
// so the reminder answers taps and keys meanwhile. A firing that comes while the
// previous one still beams is not beamed again: its sound follows the beaming under way.
void CChildView::BeamThenRing(bool first_firing) {
    if (beaming_.Running()) {
        ring_first_ = ring_first_ || first_firing;
        return;
    }
    ring_first_ = first_firing;
    if (firing_.codebase.empty())
        RingSound();
    else
        beaming_.Start(firing_.codebase, GetSafeHwnd(), WM_BEAMING_DONE);
}

void CChildView::OnBeamingDone() {
    beaming_.Ended();
    if (!answered_) RingSound();
}

// The first firing makes the player when the alarm has a sound; a re-fire rings only
// through that player, and only with a sound of its own (none: it stays silent).
void CChildView::RingSound() {
    if (firing_.sound_path.empty()) return;
    if (ring_first_) {
        player_ = std::make_unique<CSoundWave>(GetSafeHwnd());
        player_->CreateThread();
        player_->SetVolume(firing_.volume);
        PlayOnce();
    } else if (player_ != nullptr) {
        PlayOnce();
        player_->SetVolume(firing_.volume);
    }
}

// KIVO re-reads only the files Alert marked: a deactivation, a snooze or an answer must
// reach its list.
void CChildView::TellKivo() {
    if (!AlarmChangeMarker::MarkChanged(alarm_path_)) return;
    if (const ce::HWND kivo = ce::FindWindowW(nullptr, kKivoTitle); kivo != nullptr)
        ce::PostMessageW(kivo, WM_ALARMS_CHANGED, 0, 0);
}

void CChildView::CreateFonts() {
    for (int font = 0; font < kFontCount; ++font)
        fonts_[font].Create(u"Arial", kFontHeights[font] * kEmPerCell * 72.0 / framework::Screen::kDesignDpi,
                            CFont::FW_BOLD);
}

void CChildView::CreateControls() {
    background_.LoadBitmap(kBackgroundBitmap);
    sky_.LoadBitmap(kSkyBitmap);
    const ReminderLayout layout = Layout();
    dismiss_.Create(this, layout.Place(ReminderLayout::kDismiss), kDismissId, kDismissUp, kDismissPressed);
    snooze_.Create(this, layout.Place(ReminderLayout::kSnooze), kSnoozeId, kSnoozeUp, kSnoozePressed);
    length_arrow_.Create(this, layout.Place(ReminderLayout::kLengthArrow), kLengthArrowId, kArrowUp, kArrowPressed);
    length_list_.Create(this, LengthListPlace(layout), kLengthListId);
}

CRect CChildView::LengthListPlace(const ReminderLayout& layout) const {
    return layout.PlaceLengthList(CMyList::kRows, layout.ScaleY(CMyList::kRowDesignHeight), CMyList::kBorder);
}

void CChildView::PlaceControls() {
    const ReminderLayout layout = Layout();
    dismiss_.MoveWindow(layout.Place(ReminderLayout::kDismiss));
    snooze_.MoveWindow(layout.Place(ReminderLayout::kSnooze));
    length_arrow_.MoveWindow(layout.Place(ReminderLayout::kLengthArrow));
    length_list_.MoveTo(LengthListPlace(layout));
    if (animation_ != nullptr) animation_->MoveWindow(layout.Place(ReminderLayout::kAnimation));
}

void CChildView::OnSize(ce::UINT /*type*/, int /*cx*/, int /*cy*/) { PlaceControls(); }

// First load and reload alike: whatever the previous firing left is cleared first.
void CChildView::Load() {
    StopSound();
    if (pause_timer_running_) KillTimer(kPauseTimer);
    pause_timer_running_ = false;
    plays_left_ = 1;
    const std::u16string previous = alarm_path_;
    alarm_path_ = AlertKey::Pending().value_or(u"");
    // Another alarm is due now: it is shown, and the one shown so far keeps its repeat,
    // so it rings again once this one is answered.
    if (!previous.empty() && previous != alarm_path_) budget_.Restart(WallClock::Read().utc);
    const std::int64_t due = AlertKey::PendingDue().value_or(0);
    if (due != fired_.due) fired_ = CAlarmScheduler::Fired{due, AlertKey::Fired()};
    fired_.paths.push_back(alarm_path_);
    Fire();
}

void CChildView::Fire() {
    KillTimer(kBusyTimer);
    firing_ = ReminderAlarmFile::Fire(alarm_path_, snooze_index_);
    beep_instead_ = false;
    plays_left_ = firing_.plays;
    ShowFireTime();
    if (!firing_.busy) return;
    std::fprintf(stderr,
                 "Alert: the alarm file %s is busy (another program has it open): the default sound rings, and the "
                 "alarm with its own sound once the file can be read\n",
                 ce::utf8_from_utf16(alarm_path_).c_str());
    SetTimer(kBusyTimer, kBusyRetryMs);
}

// The alarm's file could not be read when it went off: read now, the alarm goes off as
// it would have then, showing the time it was due.
void CChildView::RetryBusyAlarm() {
    ReminderAlarmFile::Firing firing = ReminderAlarmFile::Fire(alarm_path_, snooze_index_);
    if (firing.busy) return;
    KillTimer(kBusyTimer);
    firing.fire_hour = firing_.fire_hour;
    firing.fire_minute = firing_.fire_minute;
    firing_ = firing;
    plays_left_ = firing_.plays;
    Armed();
    Invalidate();
    BeginRinging();
}

// One play of the alarm's sound. A sound the player cannot play (its file gone, the
// storage card out, a file it refuses) gives way to the handheld's default sound, played
// as many times: an alarm that asked for a sound never rings silent.
void CChildView::PlayOnce() {
    if (!beep_instead_) {
        const ce::DWORD result = player_->Play(firing_.sound_path.c_str());
        // The wave output busy or short of memory is no reason to think the file bad.
        if (result == CSoundWave::kPlaying || result == CSoundWave::kAlreadyPlaying || result == CSoundWave::kNoDevice ||
            result == CSoundWave::kNoBuffers)
            return;
        std::fprintf(stderr, "Alert: the sound %s cannot be played (%lu); the default sound rings in its place\n",
                     ce::utf8_from_utf16(firing_.sound_path).c_str(), static_cast<unsigned long>(result));
        beep_instead_ = true;
    }
    ce::PlaySoundW(kDefaultSound, nullptr, ce::SND_ALIAS);
    // Counted and paused like a play of the file.
    PostMessage(WM_SOUND_ENDED, 0, 0);
}

void CChildView::StopSound() {
    if (player_ == nullptr) return;
    const auto until = std::chrono::steady_clock::now() + kStopPatience;
    while (player_->IsOpen() && std::chrono::steady_clock::now() < until) {
        player_->PostThreadMessage(WM_SOUND_ENDED, 0, 1);
        std::this_thread::yield();
    }
}

// No more plays of this firing, and the clock stops shaking.
void CChildView::Silence() {
    // Answered: an alarm whose file was busy does not go off later either.
    KillTimer(kBusyTimer);
    StopSound();
    plays_left_ = 0;
    firing_.sound_path.clear();
    if (animation_ != nullptr) animation_->Ring(false);
}

void CChildView::TakeRefireBack() {
    ReminderAlarmFile::RemoveRefire(alarm_path_);
    firing_.refire_armed = false;
    CAlarmScheduler::RescheduleAnswered(alarm_path_);
    TellKivo();
}

void CChildView::OnSoundEnded() {
    if (player_ == nullptr) return;
    if (--plays_left_ <= 0) return;
    if (firing_.pause_seconds > 0) {
        SetTimer(kPauseTimer, static_cast<ce::UINT>(firing_.pause_seconds) * 1000);
        pause_timer_running_ = true;
    } else {
        PlayOnce();
    }
}

void CChildView::OnPauseOver() {
    KillTimer(kPauseTimer);
    pause_timer_running_ = false;
    if (plays_left_ > 0 && !firing_.sound_path.empty() && player_ != nullptr) PlayOnce();
}

// Only the wake program's re-fire for the alarm registered now is owed: its instant has
// come and this reminder has not rung that alarm for it. Anyone may post the message; a
// re-fire nobody armed, or one already taken, must not ring or beam again.
bool CChildView::RefireOwed() const {
    const auto pending = AlertKey::Pending();
    const auto due = AlertKey::PendingDue();
    if (!pending || !due || *due > WallClock::Read().utc) return false;
    return *due != fired_.due || std::none_of(fired_.paths.begin(), fired_.paths.end(), [&](const std::u16string& rung) {
               return ce::lstrcmpiW(rung.c_str(), pending->c_str()) == 0;
           });
}

void CChildView::OnRefire() {
    if (!RefireOwed()) return;
    if (!budget_.Spend(WallClock::Read().utc)) {
        Dismiss();
        return;
    }
    DisplaySwitch::SwitchOn();
    Load();
    if (animation_ != nullptr) animation_->Ring(true);
    // Registered before beaming, as at the first firing: a long macro must not outlast
    // the wake program's safety re-run, nor a crash while beaming lose the repeat.
    CAlarmScheduler::Reschedule(fired_);
    UpdateWindow();
    BeamThenRing(false);
}

ce::LRESULT CChildView::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    // Answered, the alarm is over: a re-fire that waited in the queue behind the answer
    // (the thread was beaming) must not ring, beam and arm a repeat again.
    if (answered_ && (message == WM_ALERT_REFIRE || message == WM_SOUND_ENDED)) return 0;
    switch (message) {
        case WM_SOUND_ENDED: OnSoundEnded(); return 0;
        case WM_PICKER_CLOSED: OnLengthListClosed(wParam, lParam); return 0;
        case WM_BEGIN_RINGING: BeginRinging(); return 0;
        case WM_BEAMING_DONE: OnBeamingDone(); return 0;
        case WM_ALERT_REFIRE:
            // A change of the clock or zone never rings: it only moves what is registered.
            if (lParam == kRefireClockChanged)
                CAlarmScheduler::Reschedule();
            else
                OnRefire();
            return 0;
        default: return CView::WindowProc(message, wParam, lParam);
    }
}

bool CChildView::PreTranslateMessage(ce::MSG* message) {
    // A tap queued behind the answer would take back the repeat Snooze has just set.
    if (answered_) return message->message == ce::WM_LBUTTONDOWN || message->message == ce::WM_LBUTTONUP;
    bool consumed = false;
    if (message->message == ce::WM_LBUTTONDOWN) OnFirstTap(message, consumed);
    if (message->message == ce::WM_KEYDOWN) consumed = OnKey(message->wParam);
    return consumed;
}

// The keys of a form, as a person with the handheld's buttons expects them: Return takes
// the default answer, Dismiss; Escape puts the alarm off, as Snooze does. Either first
// answers the alarm as a tap does.
bool CChildView::OnKey(ce::WPARAM key) {
    if (key != kReturnKey && key != kEscapeKey) return false;
    Silence();
    if (firing_.refire_armed) TakeRefireBack();
    if (length_list_.IsWindowVisible()) {
        // Return chooses the list's selected length, Escape closes it choosing nothing.
        if (key == kReturnKey) OnLengthListClosed(kLengthListId, length_list_.Selection());
        else HideLengthList();
        return true;
    }
    if (key == kReturnKey) Dismiss();
    else Snooze();
    return true;
}

// Any tap answers the alarm: it goes quiet and its armed repeat is taken back. A tap
// beside the open length list closes it; one on the length label opens it.
void CChildView::OnFirstTap(ce::MSG* message, bool& consumed) {
    if (plays_left_ > 0) Silence();
    else if (animation_ != nullptr) animation_->Ring(false);  // rung out by itself, still shaking
    if (firing_.refire_armed) TakeRefireBack();
    if (length_list_.IsWindowVisible()) {
        if (message->hwnd != length_list_.GetSafeHwnd()) {
            HideLengthList();
            consumed = true;
        }
        return;
    }
    const CPoint point{framework::GET_X_LPARAM(message->lParam), framework::GET_Y_LPARAM(message->lParam)};
    if (message->hwnd == GetSafeHwnd() && strictly_inside(Layout().Place(ReminderLayout::kLengthList), point)) {
        framework::InputDispatcher::DiscardQueuedInput();
        OpenLengthList();
        consumed = true;
    }
}

void CChildView::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) {
    Silence();
    if (length_list_.IsWindowVisible()) HideLengthList();
}

bool CChildView::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    switch (id) {
        case kDismissId: Dismiss(); return true;
        case kSnoozeId: Snooze(); return true;
        case kLengthArrowId: OpenLengthList(); return true;
        default: return false;
    }
}

void CChildView::OnTimer(ce::UINT_PTR id) {
    if (id == kPauseTimer) {
        OnPauseOver();
    } else if (id == kBusyTimer) {
        RetryBusyAlarm();
    } else if (id == kSnoozeEnableTimer) {
        snooze_.EnableWindow(true);
        KillTimer(kSnoozeEnableTimer);
    }
}

void CChildView::Dismiss() {
    Silence();
    ReminderAlarmFile::RemoveRefire(alarm_path_);
    CAlarmScheduler::RescheduleAnswered(alarm_path_);
    TellKivo();
    Close();
}

void CChildView::Snooze() {
    ReminderAlarmFile::Snooze(alarm_path_, SnoozeTable::Minutes(snooze_index_));
    CAlarmScheduler::RescheduleAnswered(alarm_path_);
    TellKivo();
    Close();
}

// The program ends with the alarm's answer; the sound must not outlive the window.
void CChildView::Close() {
    answered_ = true;
    beaming_.RequestStop();
    StopSound();
    if (pause_timer_running_) KillTimer(kPauseTimer);
    pause_timer_running_ = false;
    KillTimer(kBusyTimer);
    if (animation_ != nullptr) animation_->KillTimer(CAlertAnimation::kTimer);
    ShowWindow(false);
    post_quit();
}

void CChildView::OpenLengthList() {
    Silence();
    snooze_.EnableWindow(false);
    if (length_list_.IsWindowVisible()) return;
    length_list_.SetSelection(snooze_index_);
    length_list_.ShowWindow(true);
    length_list_.widget()->raise();
    length_list_.SetFocus();
}

void CChildView::HideLengthList() {
    length_list_.ShowWindow(false);
    // Closing the list by a tap beside it chooses nothing, as losing its focus does.
    OnLengthListClosed(kLengthListId, -1);
}

void CChildView::OnLengthListClosed(ce::WPARAM list, ce::LPARAM chosen) {
    if (list != kLengthListId) return;
    length_list_.ShowWindow(false);
    if (chosen != -1) snooze_index_ = static_cast<int>(chosen);
    UpdateWindow();
    framework::InputDispatcher::DiscardQueuedInput();
    SetTimer(kSnoozeEnableTimer, kSnoozeEnableMs);
}

bool CChildView::OnEraseBkgnd(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, kBackgroundColour);
    return true;
}

// The time shown is also the view's text, which `handheld ui dump` lists.
void CChildView::ShowFireTime() {
    std::u16string text = UserClock::HoursAndMinutes(firing_.fire_hour, firing_.fire_minute, twelve_hours_);
    if (twelve_hours_) text += u" " + std::u16string(UserClock::Marker(firing_.fire_hour));
    SetWindowText(text);
}

void CChildView::OnPaint(CDC& dc) {
    const ReminderLayout layout = Layout();
    if (sky_.IsLoaded()) dc.StretchBlt(layout.PlaceAt({-kSkyMargin, -kSkyMargin}, sky_.GetSize()), sky_);
    dc.StretchBlt(layout.PlaceAt({0, 0}, background_.GetSize()), background_);
    DrawTexts(dc, layout);
}

// The whole note, up to its 199 characters. A short one stays in the description's
// place; a longer one takes the room the layout has below the clock, on a pale plate,
// in a smaller font as it needs, down to a floor still read at arm's length; only a
// note longer than that room holds at the floor ends in "...".
void CChildView::DrawNote(CDC& dc, const ReminderLayout& layout) {
    const CRect place = layout.Place(ReminderLayout::kDescription);
    dc.SelectFont(fonts_[kDescriptionFont]);
    if (dc.FitsWrapped(firing_.description, place)) {
        dc.DrawText(firing_.description, place, CDC::DT_LEFT | CDC::DT_WORDBREAK | CDC::DT_END_ELLIPSIS);
        return;
    }
    const CRect plate = layout.PlaceNote();
    dc.FillTranslucentRect(plate, framework::RGB(255, 255, 255), kNotePlate);
    const int pad = layout.ScaleX(2);
    const CRect room{plate.left + pad, plate.top + pad, plate.right - pad, plate.bottom};
    CFont font;
    for (int height = kFontHeights[kDescriptionFont]; height >= kNoteFloorHeight; --height) {
        font.Create(u"Arial", height * kEmPerCell * 72.0 / framework::Screen::kDesignDpi, CFont::FW_BOLD);
        dc.SelectFont(font);
        if (dc.FitsWrapped(firing_.description, room)) break;
    }
    dc.DrawText(firing_.description, room, CDC::DT_LEFT | CDC::DT_WORDBREAK | CDC::DT_END_ELLIPSIS);
}

void CChildView::DrawTexts(CDC& dc, const ReminderLayout& layout) {
    dc.SetTextColor(kTextColour);
    if (!firing_.description.empty()) DrawNote(dc, layout);
    CRect time = layout.Place(ReminderLayout::kTime);
    if (!twelve_hours_) {
        time.left += ReminderLayout::kTwentyFourHourShift;
        time.right += ReminderLayout::kTwentyFourHourShift;
    } else {
        // The marker begins just inside the time's right edge: a space between them.
        time.right = layout.Place(ReminderLayout::kAmPm).left - layout.ScaleX(ReminderLayout::kMarkerGap);
    }
    dc.SetTextColor(kTimeColour);
    dc.SelectFont(fonts_[kTimeFont]);
    dc.DrawText(UserClock::HoursAndMinutes(firing_.fire_hour, firing_.fire_minute, twelve_hours_), time,
                CDC::DT_RIGHT | CDC::DT_SINGLELINE | CDC::DT_VCENTER | CDC::DT_NOCLIP);
    if (twelve_hours_) {
        dc.SelectFont(fonts_[kAmPmFont]);
        dc.DrawText(UserClock::Marker(firing_.fire_hour), layout.Place(ReminderLayout::kAmPm),
                    CDC::DT_LEFT | CDC::DT_SINGLELINE | CDC::DT_VCENTER | CDC::DT_NOCLIP);
    }
    dc.SetTextColor(kTextColour);
    dc.SelectFont(fonts_[kLabelFont]);
    dc.DrawText(SnoozeTable::Label(snooze_index_), layout.Place(ReminderLayout::kSnoozeLabel),
                CDC::DT_CENTER | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
}
