// `handheld time set` or `tz set` killed the moment its change is committed, before it
// does anything else: sets the clock of the handheld of $KIVO_DEVICE to 10:45 ("time")
// or its zone to Asia/Tokyo ("zone"), then dies by SIGKILL.

#include <signal.h>

#include <string>

#include "host/notify/ClockChange.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string what = argv[1];
    ce::SYSTEMTIME quarter_to{};
    quarter_to.wYear = 2026;
    quarter_to.wMonth = 3;
    quarter_to.wDay = 7;
    quarter_to.wHour = 10;
    quarter_to.wMinute = 45;
    const bool changed = what == "time" ? host::ClockChange::set_local_time(quarter_to)
                                        : host::ClockChange::set_time_zone("Asia/Tokyo");
    if (changed) raise(SIGKILL);
    return 1;
}
