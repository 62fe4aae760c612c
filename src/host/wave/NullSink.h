#pragma once
// Plays nothing, at the real rate (the device paces it). Any number may play at once.

#include "host/wave/WaveSink.h"

namespace host {

class NullSink : public WaveSink {
public:
    ce::MMRESULT open(const ce::WAVEFORMATEX&) override { return ce::MMSYSERR_NOERROR; }
    void write(const ce::BYTE*, std::size_t, ce::DWORD) override {}
    void close(const BufferStats&) override {}
};

}  // namespace host
