#include "alarms/BusyAlarmRetry.h"

#include <cstdio>

#include "alarms/CAlarmScheduler.h"
#include "alarms/WallClock.h"
#include "ce/Notify.h"
#include "ce/Text.h"

void BusyAlarmRetry::Register(const std::vector<std::u16string>& busy, std::int64_t now_utc) {
    // Said where the rescheduling program's output goes: log/NAME.out for a program of
    // the handheld, the terminal for the handheld tool.
    for (const auto& path : busy)
        std::fprintf(stderr,
                     "the alarm file %s is busy (another program has it open): its registration is kept, and the "
                     "alarms are read again in %lld s\n",
                     ce::utf8_from_utf16(path).c_str(), static_cast<long long>(kRetrySeconds));
    auto local = WallClock::LocalOf(now_utc + kRetrySeconds);
    if (!local) return;
    local->wMilliseconds = 0;
    ce::CeRunAppAtTime(CAlarmScheduler::AlertProgramPath().c_str(), &*local);
}

void BusyAlarmRetry::Cancel() {
    const std::u16string alert = CAlarmScheduler::AlertProgramPath();
    ce::SYSTEMTIME registered;
    if (ce::CeGetRunAppAtTime(alert.c_str(), &registered)) ce::CeRunAppAtTime(alert.c_str(), nullptr);
}
