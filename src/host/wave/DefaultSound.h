#pragma once
// The handheld's default sound, heard where a program asks for a sound it does not
// have: a 1.5 kHz tone of 200 ms with soft edges (no click), 16-bit mono at 22.05 kHz,
// played on the wave output like any other sound, so the capture back-end logs it.

#include <cstdint>
#include <vector>

#include "ce/Wave.h"

namespace host {

class DefaultSound {
public:
    static constexpr unsigned kRate = 22050;
    static constexpr unsigned kToneHz = 1500;
    static constexpr unsigned kMilliseconds = 200;

    static ce::WAVEFORMATEX Format();
    static std::vector<std::int16_t> Samples();
    // Plays it through and waits for the end; false when the wave output cannot be had.
    static bool Play();
};

}  // namespace host
