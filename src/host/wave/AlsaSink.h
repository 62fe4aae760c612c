#pragma once
// The alsa back-end: the host's sound card through ALSA (the PCM named by the
// handheld's audio.alsa_pcm setting, "default" unless set). Whether a second player
// may open it at the same time is ALSA's answer: a device that is busy gives
// MMSYSERR_ALLOCATED, a mixing one plays both. An open that hangs gives
// MMSYSERR_ALLOCATED after a deadline, said in log/alsa.log.

#include <alsa/asoundlib.h>

#include <vector>

#include "host/wave/WaveSink.h"

namespace host {

class AlsaSink : public WaveSink {
public:
    static constexpr const char* kLogName = "alsa";

    ~AlsaSink() override;
    ce::MMRESULT open(const ce::WAVEFORMATEX& format) override;
    bool paces_itself() const override { return true; }
    void write(const ce::BYTE* bytes, std::size_t count, ce::DWORD volume) override;
    void discard() override;
    void close(const BufferStats& buffers) override;

private:
    snd_pcm_t* pcm_ = nullptr;
    ce::WAVEFORMATEX format_;
    std::vector<ce::BYTE> scaled_;
    bool discarded_ = false;
};

}  // namespace host
