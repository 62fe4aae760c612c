#pragma once
// Where an open wave device reports: a thread, a window, or nowhere.

#include "ce/Wave.h"

namespace host {

class WaveCallback {
public:
    WaveCallback() = default;
    WaveCallback(ce::DWORD kind, ce::DWORD_PTR target) : kind_(kind), target_(target) {}

    // MMSYSERR_INVALFLAG for a kind this device does not offer, MMSYSERR_INVALPARAM for a
    // window that does not exist.
    ce::MMRESULT check() const;
    void report(ce::HWAVEOUT device, ce::UINT message, ce::LPARAM lParam) const;

private:
    ce::DWORD kind_ = ce::CALLBACK_NULL;
    ce::DWORD_PTR target_ = 0;
};

}  // namespace host
