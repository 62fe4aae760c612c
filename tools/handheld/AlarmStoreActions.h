#pragma once
// What `handheld alarm` does to the handheld's alarm store, apart from its command line:
// adds an alarm as the alarm form saves one (its file and infrared database written
// under the store lock), lists the alarms with when each is next due, removes one with
// its infrared database; every change is followed by a reschedule.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ce/Time.h"

namespace handheld {

class AlarmStoreActions {
public:
    struct NewAlarm {
        int hour = 0;
        int minute = 0;
        std::uint8_t days = 0;  // bit 0 Monday ... bit 6 Sunday; 0 once
        std::u16string description;
        std::u16string sound;  // device path; empty: no sound
        std::uint16_t volume = 6;
        std::uint16_t count = 1;
        std::uint16_t pause = 0;
        std::string codebase;  // a codebase of the alarms folder; empty: nothing beamed
        std::uint8_t replay = 5;
        bool beam_on_repeats = false;
        bool active = true;
    };

    struct Added {
        std::u16string file_name;  // "%i.kivo"
        std::optional<ce::SYSTEMTIME> due;  // local; nothing when it is not due at all
        bool registered = false;  // the wake registration is for this alarm
        std::u16string wakes_for;  // the alarm the handheld wakes for next; empty: none
        std::u16string missing_program;  // Alert or the wake program, when not installed
    };

    struct Listed {
        std::u16string file_name;
        std::optional<std::pair<int, int>> time;
        std::optional<std::uint8_t> days;
        bool active = false;
        std::optional<std::array<int, 3>> repeat;  // a pending repeat
        std::u16string description;
        std::u16string sound;  // empty when the alarm plays none
        std::u16string ir_database;  // empty when it beams nothing
        std::optional<ce::SYSTEMTIME> due;  // local
        bool registered = false;
    };

    // Each returns nothing when done, else what went wrong.
    static std::optional<std::string> Add(const NewAlarm& alarm, Added* added);
    static std::optional<std::string> List(std::vector<Listed>* alarms);
    // `name` is the alarm's number or its file name.
    static std::optional<std::string> Remove(const std::string& name, std::u16string* removed);

private:
    static std::optional<std::string> Write(const std::u16string& path, const NewAlarm& alarm,
                                            const std::u16string& ir_database);
    static Listed Read(const std::u16string& folder, const std::u16string& file_name);
};

}  // namespace handheld
