#pragma once
// What to tell the user when the WAV player refuses a sound: its reason in words, so a
// test that stays silent says why (the alarm would be silent too).

#include <string>

#include "ce/Types.h"

class SoundRefusal {
public:
    static constexpr const char16_t* kNoSoundChosen = u"Choose the sound to play, or untick Play sound.";

    // The message for one of the player's codes (1000-1006), naming the file.
    static std::u16string Text(ce::DWORD code, const std::u16string& path);
    // Why the alarm file cannot keep `path` as it is; empty when it can.
    static std::u16string PathText(const std::u16string& path);
};
