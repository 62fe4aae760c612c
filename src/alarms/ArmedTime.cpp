#include "alarms/ArmedTime.h"

#include <cstdint>

#include "alarms/AlarmEnumerator.h"
#include "alarms/CAlarmDB.h"

std::optional<std::u16string> ArmedTime::Holder(const std::u16string& folder, int hour, int minute) {
    for (const auto& name : AlarmEnumerator::FileNames(folder)) {
        CAlarmDB alarm;
        if (alarm.OpenForReading(folder + name) != CAlarmDB::kOk) continue;
        std::uint8_t active = 0;
        int at_hour = 0, at_minute = 0;
        const bool clash = alarm.GetActive(active) == CAlarmDB::kOk && active == 1 &&
                           alarm.GetAlarmTime(at_hour, at_minute) == CAlarmDB::kOk && at_hour == hour &&
                           at_minute == minute;
        alarm.Close();
        if (clash) return name;
    }
    return std::nullopt;
}
