#pragma once
// Beams an alarm's infrared commands: the macro "Alarm" of the alarm's codebase in the
// alarms folder, through the port chosen in KIVO's settings, once and synchronously on
// the calling thread. A failed step is passed over and the rest of the macro still runs;
// nothing is reported, since the alarm must go on ringing whatever the infrared did.

#include <stop_token>
#include <string>

class AlarmBeaming {
public:
    static constexpr const char* kMacro = "Alarm";
    // The port is given a moment to settle after it is chosen, before the first signal.
    static constexpr unsigned kSettleMs = 1000;

    // Does nothing when no port has been chosen. A stop requested through `stop` (the
    // alarm answered) ends the beaming before its next step.
    static void Beam(const std::string& codebase, std::stop_token stop = {});
};
