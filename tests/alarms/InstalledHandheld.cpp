#include "InstalledHandheld.h"

#include <stdlib.h>

#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "host/Device.h"
#include "host/clock/Clock.h"

namespace alarm_tests {

void InstalledHandheld::SetUp() {
    TempDevice::SetUp();
    setenv("KIVO_PROGRAM_PATH", kProgramPath, 1);
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Program Files"));
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Program Files\\KIVO"));
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Program Files\\KIVO\\Alarms"));
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Windows"));
    touch(u"\\Program Files\\KIVO\\KIVO.exe");
    touch(kAlert);
    touch(kWake);
}

void InstalledHandheld::touch(const std::u16string& path) {
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
    ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(file);
}

void InstalledHandheld::remove(const std::u16string& path) { ASSERT_TRUE(ce::DeleteFileW(path.c_str())); }

std::u16string InstalledHandheld::write_alarm(int number, const AlarmSpec& spec) {
    const std::string digits = std::to_string(number);
    const std::u16string path = kAlarms + std::u16string(digits.begin(), digits.end()) + u".kivo";
    CAlarmDB alarm;
    EXPECT_EQ(alarm.Create(path), CAlarmDB::kOk);
    if (spec.active) {
        EXPECT_EQ(alarm.SetActive(*spec.active), CAlarmDB::kOk);
    }
    if (spec.time) {
        EXPECT_EQ(alarm.SetAlarmTime(spec.time->first, spec.time->second), CAlarmDB::kOk);
    }
    if (spec.days) {
        EXPECT_EQ(alarm.SetDays(*spec.days), CAlarmDB::kOk);
    }
    if (spec.refire) {
        EXPECT_EQ(alarm.SetRefireTime((*spec.refire)[0], (*spec.refire)[1], (*spec.refire)[2]), CAlarmDB::kOk);
    }
    return path;
}

void InstalledHandheld::set_clock(const std::string& zone, const ce::SYSTEMTIME& local) {
    ASSERT_TRUE(host::set_time_zone(zone));
    ASSERT_TRUE(host::set_local_time(local));
}

std::vector<host::Notification> InstalledHandheld::registrations() {
    return host::NotificationStore(host::Device::current().database()).list();
}

std::optional<std::string> InstalledHandheld::registered_time() {
    for (const auto& notification : registrations())
        if (notification.is_timed() && notification.application == kWake) return host::time_text(notification.time);
    return std::nullopt;
}

}  // namespace alarm_tests
