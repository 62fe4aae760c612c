#pragma once
// What the alarm form edits of one alarm: the values it opens with, loads from the alarm
// file and its codebase, and writes back on OK.

#include <cstdint>
#include <string>

#include "forms/ItemData.h"

struct AlarmOptions {
    static constexpr int kDefaultVolume = 6;
    static constexpr int kDefaultPlayCount = 1;
    static constexpr int kDefaultReplayMinutes = 5;
    static constexpr std::uint8_t kEveryDay = 0x7F;
    // The readers take the description into 400 bytes of UTF-16 with its terminator: a
    // longer one would be stored but never read back, and the alarm would vanish from the list.
    static constexpr int kDescriptionCharacters = 199;

    std::u16string description;
    bool has_time = false;  // a file without AlarmTime leaves the time fields empty
    int hour = 0;           // 0-23
    int minute = 0;
    std::uint8_t days = kEveryDay;  // bit 0 Monday ... bit 5 Saturday, bit 6 Sunday; 0 once

    bool play_sound = false;
    std::u16string sound_path;
    // The sound the file names when that file is gone (deleted, its card out): not kept
    // as the sound, but named to the person choosing another.
    std::u16string missing_sound;
    int volume = kDefaultVolume;
    int play_count = kDefaultPlayCount;
    int pause_seconds = 0;
    int replay_minutes = kDefaultReplayMinutes;
    int beam_on_repeats = 0;

    bool beam_ir = false;
    std::u16string ir_database;  // the codebase's base name
    ItemDataArr commands;
};
