// Reads one alarm file the way a reschedule reads each of the store's files (open, the
// tags that decide when it rings, close), a given number of times, on a fresh handheld.
// bench/alarms/read_syscalls.sh runs it under `strace -c` twice and prints the system
// calls of one read as the difference.
//   kivo_alarm_read READS

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "FreshHandheld.h"
#include "alarms/AlarmWhen.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"

int main(int argc, char** argv) {
    const long reads = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1;
    const std::filesystem::path root = bench::select_fresh_handheld("read");
    if (root.empty()) return 1;
    for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Program Files\\KIVO\\Alarms"})
        ce::CreateDirectoryW(folder);
    const std::u16string path = u"\\Program Files\\KIVO\\Alarms\\1.kivo";
    {
        CAlarmDB alarm;
        if (alarm.Create(path) != CAlarmDB::kOk) return 1;
        alarm.SetDescription(u"Wake up and switch on the radio");
        alarm.SetAlarmTime(6, 45);
        alarm.SetDays(0x1F);
        alarm.SetSoundFile(u"\\My Documents\\Alarm.wav");
        alarm.SetActive(1);
        alarm.SetBeamIr(0);
        alarm.SetReplayInterval(5);
    }
    int due = 0;
    for (long n = 0; n < reads; ++n) {
        CAlarmDB alarm;
        if (alarm.OpenForReading(path) != CAlarmDB::kOk) return 1;
        if (AlarmWhen::FromFile(alarm)) ++due;
        alarm.Close();
    }
    bench::remove_handheld(root);
    std::printf("%d of %ld reads found the alarm due\n", due, reads);
    return due == reads ? 0 : 1;
}
