#pragma once
// A temporary handheld with KIVO installed as on the device: the programs in
// "\Program Files\KIVO", the wake program in "\Windows", this test process running as
// KIVO.exe and an alarms folder to fill.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LocalTime.h"
#include "TempDevice.h"
#include "ce/Time.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"

namespace alarm_tests {

inline constexpr const char* kProgramPath = "\\Program Files\\KIVO\\KIVO.exe";
inline constexpr const char16_t* kAlarms = u"\\Program Files\\KIVO\\Alarms\\";
inline constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";
inline constexpr const char16_t* kAlert = u"\\Program Files\\KIVO\\Alert.exe";

// What one alarm file holds; a field left empty has no record.
struct AlarmSpec {
    std::optional<std::uint8_t> active = 1;
    std::optional<std::pair<int, int>> time;
    std::optional<std::uint8_t> days = 0x7F;
    std::optional<std::array<int, 3>> refire;
};

class InstalledHandheld : public testing_support::TempDevice {
protected:
    void SetUp() override;

    // Writes "NUMBER.kivo" in the alarms folder; its full device path.
    std::u16string write_alarm(int number, const AlarmSpec& spec);
    static void touch(const std::u16string& path);
    static void remove(const std::u16string& path);
    // The handheld's zone and local time; the clock runs on from there.
    static void set_clock(const std::string& zone, const ce::SYSTEMTIME& local);
    static std::vector<host::Notification> registrations();
    // The local time of the wake program's timed registration, as "YYYY-MM-DD HH:MM:SS".
    static std::optional<std::string> registered_time();
};

using testing_support::local_time;

}  // namespace alarm_tests
