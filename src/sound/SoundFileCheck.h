#pragma once
// Whether the player could play a file, asked before the file is needed: an alarm whose
// sound the player refuses would ring silently, with nobody told. Opens and maps the
// file as the player does and reads its header; the wave device itself is not opened
// (it is the alarm's moment that decides whether it is free).

#include <string>

#include "ce/Types.h"

class SoundFileCheck {
public:
    // CSoundWave::kPlaying (0) for a file it can play, else the player's code:
    // kNoFile, kCannotMap, kNotWave, kNotPcm or kNoBuffers.
    static ce::DWORD Check(const std::u16string& path);
};
