#include "KivoHandheld.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include "alarms/CAlarmDB.h"
#include "ce/Locale.h"
#include "ce/Registry.h"
#include "framework/InputDispatcher.h"
#include "framework/WindowMessages.h"
#include "host/Device.h"
#include "host/screen/ScreenSettings.h"
#include "kivo/CMainFrame.h"

namespace kivo_tests {

void KivoHandheld::SetUp() {
    InstalledHandheld::SetUp();
    host::ScreenSettings screen;
    screen.width = 240;
    screen.height = 320;
    screen.dpi = 96;
    ASSERT_TRUE(screen.write(host::Device::current().database()));
}

void KivoHandheld::TearDown() {
    if (app_ != nullptr) Stop();
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->deleteLater();
    RunQueued();
    InstalledHandheld::TearDown();
}

std::u16string KivoHandheld::write(int number, const Alarm& values) {
    const std::string digits = std::to_string(number);
    const std::u16string path = alarm_tests::kAlarms + std::u16string(digits.begin(), digits.end()) + u".kivo";
    CAlarmDB alarm;
    EXPECT_EQ(alarm.Create(path), CAlarmDB::kOk);
    EXPECT_EQ(alarm.SetDescription(values.description), CAlarmDB::kOk);
    EXPECT_EQ(alarm.SetAlarmTime(values.hour, values.minute), CAlarmDB::kOk);
    EXPECT_EQ(alarm.SetDays(static_cast<std::uint8_t>(values.days)), CAlarmDB::kOk);
    EXPECT_EQ(alarm.SetActive(static_cast<std::uint8_t>(values.active)), CAlarmDB::kOk);
    if (values.refire) {
        EXPECT_EQ(alarm.SetRefireTime(values.hour, values.minute + 1, 0), CAlarmDB::kOk);
    }
    return path;
}

int KivoHandheld::active_of(const std::u16string& path) {
    CAlarmDB alarm;
    if (alarm.Open(path) != CAlarmDB::kOk) return -1;
    std::uint8_t active = 0;
    return alarm.GetActive(active) == CAlarmDB::kOk ? active : -1;
}

bool KivoHandheld::has_refire(const std::u16string& path) {
    CAlarmDB alarm;
    int hour = 0, minute = 0, second = 0;
    return alarm.Open(path) == CAlarmDB::kOk && alarm.GetRefireTime(hour, minute, second) == CAlarmDB::kOk;
}

void KivoHandheld::set_time_format(const std::u16string& picture) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_CURRENT_USER, ce::kInternationalKey, &key), ce::ERROR_SUCCESS);
    ce::RegSetValueExW(key, ce::kTimeFormatValue, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(picture.c_str()),
                       static_cast<ce::DWORD>((picture.size() + 1) * sizeof(char16_t)));
    ce::RegCloseKey(key);
}

CAlarmListView& KivoHandheld::Start() {
    app_ = std::make_unique<CTessaAlarmApp>();
    EXPECT_TRUE(app_->InitInstance());
    RunQueued();
    return view();
}

void KivoHandheld::Stop() {
    app_->ExitInstance();
    app_.reset();
    RunQueued();
}

CAlarmListView& KivoHandheld::view() const { return *dynamic_cast<CAlarmListView*>(app_->Frame()->GetActiveView()); }

std::vector<std::u16string> KivoHandheld::rows() const {
    std::vector<std::u16string> descriptions;
    for (int index = 0; index < list().Count(); ++index) descriptions.push_back(list().Row(index)->description);
    return descriptions;
}

void KivoHandheld::TapList(int x, int y) { DragList(x, y, y); }

void KivoHandheld::DragList(int x, int from_y, int to_y) {
    CRect place;
    list().GetWindowRectInParent(&place);
    const ce::LPARAM from = framework::MAKELPARAM(place.left + x, place.top + from_y);
    const ce::LPARAM to = framework::MAKELPARAM(place.left + x, place.top + to_y);
    CWnd* frame = app_->Frame();
    framework::InputDispatcher::Deliver(frame, {frame->GetSafeHwnd(), ce::WM_LBUTTONDOWN, framework::MK_LBUTTON, from, 0});
    if (to != from)
        framework::InputDispatcher::Deliver(frame, {frame->GetSafeHwnd(), ce::WM_MOUSEMOVE, framework::MK_LBUTTON, to, 0});
    framework::InputDispatcher::Deliver(frame, {frame->GetSafeHwnd(), ce::WM_LBUTTONUP, 0, to, 0});
    RunQueued();
}

void KivoHandheld::RunQueued() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

bool KivoHandheld::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace kivo_tests
