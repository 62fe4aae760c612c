#pragma once
// What the reminder does to the alarm file it shows, each under the alarm store's lock
// and with the file reopened every time: firing reads what to show, play and beam,
// deactivates a once-only alarm and arms the time at which the unanswered alarm goes off
// again; an answer takes that time back or moves it on. A lock or file that cannot be
// had leaves the step undone without a word, as everywhere in the store, except at the
// firing: a file another program holds is said to be busy, for the reminder to try again.

#include <cstdint>
#include <string>

#include "ce/Types.h"

class ReminderAlarmFile {
public:
    // What a firing found; fields the file does not hold keep the values set here.
    struct Firing {
        std::u16string description;
        std::u16string sound_path;
        ce::DWORD volume = 0;  // 0..65535
        int plays = 1;
        int pause_seconds = 0;
        bool once = false;       // a once-only alarm, deactivated by this firing
        std::string codebase;    // 8-bit name of the infrared codebase to beam; empty: none
        bool refire_armed = false;
        int fire_hour = 0;
        int fire_minute = 0;
        // The file could not be read now (another program holds it, or the store's lock):
        // a later firing of the same file may read it.
        bool busy = false;
    };

    static constexpr std::size_t kCodebaseBytes = 200;

    // Loads the alarm for a firing and arms its repeat one snooze length from now.
    // `snooze_index` becomes the alarm's replay interval when it has one. The fire time
    // is the local time now, whether or not the file could be read.
    static Firing Fire(const std::u16string& path, int& snooze_index);
    // Takes the pending repeat back (an answered or stopped alarm).
    static void RemoveRefire(const std::u16string& path);
    // Moves the pending repeat to `minutes` from now (Snooze).
    static void Snooze(const std::u16string& path, int minutes);
};
