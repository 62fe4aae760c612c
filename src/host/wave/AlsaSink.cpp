#include "host/wave/AlsaSink.h"

#include <cerrno>
#include <string>

#include "host/BoundedCall.h"
#include "host/DeviceLog.h"
#include "host/wave/VolumeScaler.h"

namespace host {

namespace {

// Latency asked of ALSA: short enough that a reset is heard at once, long enough
// that a loaded machine does not underrun.
constexpr unsigned kLatencyMicroseconds = 100'000;

snd_pcm_format_t alsa_format(ce::WORD bits) {
    switch (bits) {
        case 8: return SND_PCM_FORMAT_U8;
        case 16: return SND_PCM_FORMAT_S16_LE;
        case 24: return SND_PCM_FORMAT_S24_3LE;
        case 32: return SND_PCM_FORMAT_S32_LE;
        default: return SND_PCM_FORMAT_UNKNOWN;
    }
}

// ALSA's own diagnostics would go to the program's standard error; the device reports
// failures as result codes instead.
void quiet(const char*, int, const char*, int, const char*, ...) {}

// A sound server that hangs (or a card another program holds, where ALSA would wait for
// it) must not hold up an alarm's sound for longer than this.
constexpr std::chrono::milliseconds kOpenDeadline{1000};

struct Opened {
    snd_pcm_t* pcm = nullptr;
    ce::MMRESULT result = ce::MMSYSERR_NOERROR;
};

Opened open_pcm(const std::string& name, const ce::WAVEFORMATEX& format) {
    Opened opened;
    // Not waiting for a busy card; the writes then wait as they should.
    const int error = snd_pcm_open(&opened.pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error < 0) return {nullptr, error == -EBUSY ? ce::MMSYSERR_ALLOCATED : ce::MMSYSERR_NODRIVER};
    if (snd_pcm_nonblock(opened.pcm, 0) < 0 ||
        snd_pcm_set_params(opened.pcm, alsa_format(format.wBitsPerSample), SND_PCM_ACCESS_RW_INTERLEAVED,
                           format.nChannels, format.nSamplesPerSec, 1, kLatencyMicroseconds) < 0) {
        snd_pcm_close(opened.pcm);
        return {nullptr, ce::WAVERR_BADFORMAT};
    }
    return opened;
}

}  // namespace

AlsaSink::~AlsaSink() {
    if (pcm_ != nullptr) snd_pcm_close(pcm_);
}

ce::MMRESULT AlsaSink::open(const ce::WAVEFORMATEX& format) {
    format_ = format;
    snd_lib_error_set_handler(quiet);
    const std::string name = AudioSettings::alsa_pcm();
    const auto opened = BoundedCall::run<Opened>(
        kOpenDeadline, [name, format] { return open_pcm(name, format); },
        [](Opened late) {
            if (late.pcm != nullptr) snd_pcm_close(late.pcm);
        });
    if (!opened) {
        DeviceLog(kLogName).write("the ALSA device " + name + " did not open within " +
                                  std::to_string(kOpenDeadline.count()) + " ms; this play is skipped");
        return ce::MMSYSERR_ALLOCATED;
    }
    pcm_ = opened->pcm;
    return opened->result;
}

void AlsaSink::write(const ce::BYTE* bytes, std::size_t count, ce::DWORD volume) {
    if (pcm_ == nullptr) return;
    discarded_ = false;
    if (!VolumeScaler::is_full(volume)) {
        scaled_.assign(bytes, bytes + count);
        VolumeScaler::apply(scaled_.data(), count, format_, volume);
        bytes = scaled_.data();
    }
    auto frames = static_cast<snd_pcm_uframes_t>(count / format_.nBlockAlign);
    while (frames > 0) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, bytes, frames);
        if (written < 0) {
            // An underrun (the player paused or fell behind) or a suspend: start again.
            if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) return;
            continue;
        }
        frames -= static_cast<snd_pcm_uframes_t>(written);
        bytes += static_cast<std::size_t>(written) * format_.nBlockAlign;
    }
}

void AlsaSink::discard() {
    if (pcm_ == nullptr) return;
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
    discarded_ = true;
}

void AlsaSink::close(const BufferStats&) {
    if (pcm_ == nullptr) return;
    if (!discarded_) snd_pcm_drain(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
}

}  // namespace host
