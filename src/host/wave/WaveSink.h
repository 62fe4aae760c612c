#pragma once
// Where a wave device's bytes go: one back-end of the handheld's audio setting. The
// device calls a sink from its own worker thread only, one call at a time.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ce/Wave.h"
#include "host/wave/AudioSettings.h"

namespace host {

// The buffers a play was written in, for those who inspect it.
struct BufferStats {
    std::uint64_t count = 0;
    ce::DWORD largest = 0;
};

class WaveSink {
public:
    virtual ~WaveSink() = default;

    // Takes the hardware for this format; MMSYSERR_ALLOCATED when it is held elsewhere.
    virtual ce::MMRESULT open(const ce::WAVEFORMATEX& format) = 0;
    // True when write() itself blocks at the format's rate (a sound card); otherwise the
    // device paces the writes to real time.
    virtual bool paces_itself() const { return false; }
    // Consumes whole blocks of sound; `volume` as waveOutSetVolume takes it.
    virtual void write(const ce::BYTE* bytes, std::size_t count, ce::DWORD volume) = 0;
    // Drops what has been written but not yet heard (the device was reset).
    virtual void discard() {}
    // Lets what was written play out (unless discarded) and gives the hardware back.
    virtual void close(const BufferStats& buffers) = 0;

    static std::unique_ptr<WaveSink> create(AudioBackend backend);
};

}  // namespace host
