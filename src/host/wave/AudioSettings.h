#pragma once
// The handheld's audio settings in device.db: which back-end its wave output plays
// through, the ALSA device for the alsa back-end, and the volume of each wave device.

#include <optional>
#include <string>
#include <string_view>

#include "ce/Types.h"

namespace host {

enum class AudioBackend {
    alsa,     // the host's sound card through ALSA
    capture,  // paced in real time, each play written to log/ as a WAV file
    null,     // paced in real time, nothing kept
};

inline constexpr const char* kAudioBackendSetting = "audio.backend";
inline constexpr const char* kAlsaPcmSetting = "audio.alsa_pcm";
inline constexpr const char* kDefaultAlsaPcm = "default";
// A handheld someone uses makes sound; tests and headless machines choose capture.
inline constexpr AudioBackend kDefaultAudioBackend = AudioBackend::alsa;
inline constexpr ce::DWORD kFullVolume = 0xFFFFFFFF;

std::string_view backend_name(AudioBackend backend);
std::optional<AudioBackend> backend_from_name(std::string_view name);

class AudioSettings {
public:
    // Nothing when the setting is unset (the default applies) or unreadable.
    static std::optional<AudioBackend> stored_backend();
    static AudioBackend backend();
    static bool set_backend(AudioBackend backend);
    static std::string alsa_pcm();
    static bool set_alsa_pcm(const std::string& pcm);
    static ce::DWORD volume(unsigned device);
    static bool set_volume(unsigned device, ce::DWORD volume);
};

}  // namespace host
