#pragma once
// The tags of an alarm file's records: each record starts with one of these as a
// big-endian 16-bit number.

#include <cstdint>

enum class AlarmTag : std::uint16_t {
    Description = 50,     // UTF-16 text
    AlarmTime = 51,       // hour, minute
    Days = 52,            // byte: bit 0 Monday ... bit 6 Sunday; 0 = once
    SoundFile = 53,       // ANSI text
    SoundVolume = 54,     // word
    SoundRepeat = 55,     // word
    SoundPause = 56,      // word, seconds
    Active = 57,          // byte
    RefireTime = 58,      // hour, minute, second
    IrDatabase = 59,      // ANSI text: base name of the infrared database
    PlaySound = 60,       // byte
    BeamIr = 61,          // byte
    ReplayInterval = 62,  // byte, minutes
    IrRepeat = 63,        // byte
};
