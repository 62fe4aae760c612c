#pragma once
// An alarm file another program has open without sharing it (a backup or an indexer,
// a lock someone took on it) cannot be read by a reschedule. Its alarm must not drop out
// of the registrations for that: the reschedule keeps the registration the file had,
// says which file was busy, and registers the alert program a few seconds on. Started
// without "SHOW", the alert program only reschedules, so the store is read again and
// again until the file can be read, and its alarm is registered then.

#include <cstdint>
#include <string>
#include <vector>

class BusyAlarmRetry {
public:
    static constexpr std::int64_t kRetrySeconds = 10;

    // After a scan that found the files `busy`, at `now_utc`: reports them and registers
    // the next try.
    static void Register(const std::vector<std::u16string>& busy, std::int64_t now_utc);
    // After a scan that read every file: a try still registered is not needed any more.
    static void Cancel();
};
