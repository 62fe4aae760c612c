#include "host/wave/DefaultSound.h"

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

namespace host {

namespace {

constexpr unsigned kEdgeMilliseconds = 10;
constexpr double kLoudness = 0.5;  // of full scale
// How often the end of the play is looked for.
constexpr auto kPoll = std::chrono::milliseconds(5);
// Past the tone's own length: the device is given up on.
constexpr auto kPatience = std::chrono::seconds(5);

}  // namespace

ce::WAVEFORMATEX DefaultSound::Format() {
    ce::WAVEFORMATEX format;
    format.wFormatTag = ce::WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kRate * 2;
    return format;
}

std::vector<std::int16_t> DefaultSound::Samples() {
    const unsigned count = kRate * kMilliseconds / 1000;
    const unsigned edge = kRate * kEdgeMilliseconds / 1000;
    std::vector<std::int16_t> samples(count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned from_edge = std::min(i, count - 1 - i);
        const double envelope = from_edge < edge ? static_cast<double>(from_edge) / edge : 1.0;
        const double phase = 2 * std::numbers::pi * kToneHz * i / kRate;
        samples[i] = static_cast<std::int16_t>(std::lround(32767 * kLoudness * envelope * std::sin(phase)));
    }
    return samples;
}

bool DefaultSound::Play() {
    const ce::WAVEFORMATEX format = Format();
    ce::HWAVEOUT device = nullptr;
    if (ce::waveOutOpen(&device, ce::WAVE_MAPPER, &format, 0, 0, ce::CALLBACK_NULL) != ce::MMSYSERR_NOERROR) return false;
    std::vector<std::int16_t> samples = Samples();
    ce::WAVEHDR header;
    header.lpData = reinterpret_cast<char*>(samples.data());
    header.dwBufferLength = static_cast<ce::DWORD>(samples.size() * sizeof(std::int16_t));
    bool played = ce::waveOutPrepareHeader(device, &header, sizeof header) == ce::MMSYSERR_NOERROR &&
                  ce::waveOutWrite(device, &header, sizeof header) == ce::MMSYSERR_NOERROR;
    if (played) {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMilliseconds) + kPatience;
        while ((header.dwFlags & ce::WHDR_DONE) == 0 && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(kPoll);
        played = (header.dwFlags & ce::WHDR_DONE) != 0;
        if (!played) ce::waveOutReset(device);
    }
    ce::waveOutUnprepareHeader(device, &header, sizeof header);
    ce::waveOutClose(device);
    return played;
}

}  // namespace host
