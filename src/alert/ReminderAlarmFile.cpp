#include "alert/ReminderAlarmFile.h"

#include <cstring>

#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "alarms/RefireTime.h"
#include "alarms/WallClock.h"
#include "alert/SnoozeTable.h"
#include "ce/Time.h"

namespace {

constexpr ce::DWORD kFullVolume = 65535;
constexpr int kVolumeSteps = 10;

void read_sound(CAlarmDB& alarm, ReminderAlarmFile::Firing& firing) {
    std::uint8_t play = 0;
    if (alarm.GetPlaySound(play) != CAlarmDB::kOk || play == 0) return;
    alarm.ReadSoundFile(firing.sound_path);
    std::uint16_t value = 0;
    if (alarm.GetSoundVolume(value) == CAlarmDB::kOk && value != 0) firing.volume = value * kFullVolume / kVolumeSteps;
    if (alarm.GetSoundPause(value) == CAlarmDB::kOk) firing.pause_seconds = value;
    if (alarm.GetSoundRepeat(value) == CAlarmDB::kOk) firing.plays = value;
}

// A first firing beams; a repeat beams again only when the alarm asks for it.
bool beams_now(CAlarmDB& alarm) {
    std::uint8_t again = 0;
    if (alarm.GetIrRepeat(again) != CAlarmDB::kOk) again = 0;
    int hour = 0, minute = 0, second = 0;
    const bool repeat = alarm.GetRefireTime(hour, minute, second) == CAlarmDB::kOk && RefireTime::Pending(hour, minute);
    return !repeat || again != 0;
}

void read_codebase(CAlarmDB& alarm, ReminderAlarmFile::Firing& firing) {
    std::uint8_t beam = 0;
    if (alarm.GetBeamIr(beam) != CAlarmDB::kOk || beam == 0) return;
    char name[ReminderAlarmFile::kCodebaseBytes] = {};
    if (alarm.GetIrDatabase(name, sizeof name) > 0) firing.codebase.assign(name, ::strnlen(name, sizeof name));
}

// `minutes` from now as the clock will read then: in the hour repeated when daylight
// saving ends, 02:55 and 10 minutes is 02:05, not 03:05.
RefireTime refire_in(int minutes) {
    const WallClock::Now now = WallClock::Read();
    const auto then = WallClock::LocalOf(now.utc + std::int64_t{minutes} * 60);
    return then ? RefireTime::After(*then, 0) : RefireTime::After(now.local, minutes);
}

void arm_refire(CAlarmDB& alarm, int minutes, ReminderAlarmFile::Firing& firing) {
    const RefireTime refire = refire_in(minutes);
    alarm.SetRefireTime(refire.hour(), refire.minute(), refire.second());
    firing.refire_armed = true;
}

}  // namespace

ReminderAlarmFile::Firing ReminderAlarmFile::Fire(const std::u16string& path, int& snooze_index) {
    Firing firing;
    AlarmStoreLock lock;
    CAlarmDB alarm;
    const bool locked = lock.Lock();
    if (locked && alarm.Open(path) == CAlarmDB::kOk) {
        alarm.ReadDescription(firing.description);
        read_sound(alarm, firing);
        std::uint8_t replay = 0;
        if (alarm.GetReplayInterval(replay) == CAlarmDB::kOk) snooze_index = SnoozeTable::IndexOf(replay);
        const bool beam = beams_now(alarm);
        std::uint8_t days = 0;
        if (alarm.GetDays(days) != CAlarmDB::kOk || days == 0) {
            alarm.SetActive(0);
            firing.once = true;
        }
        if (beam) read_codebase(alarm, firing);
        arm_refire(alarm, SnoozeTable::Minutes(snooze_index), firing);
        alarm.Close();
    } else {
        firing.busy = !locked || ce::GetLastError() == ce::ERROR_SHARING_VIOLATION;
    }
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    firing.fire_hour = now.wHour;
    firing.fire_minute = now.wMinute;
    return firing;
}

void ReminderAlarmFile::RemoveRefire(const std::u16string& path) {
    AlarmStoreLock lock;
    CAlarmDB alarm;
    if (!lock.Lock() || alarm.Open(path) != CAlarmDB::kOk) return;
    alarm.RemoveTag(AlarmTag::RefireTime);
    alarm.Close();
}

void ReminderAlarmFile::Snooze(const std::u16string& path, int minutes) {
    const RefireTime refire = refire_in(minutes);
    AlarmStoreLock lock;
    CAlarmDB alarm;
    if (!lock.Lock() || alarm.Open(path) != CAlarmDB::kOk) return;
    alarm.SetRefireTime(refire.hour(), refire.minute(), refire.second());
    alarm.Close();
}
