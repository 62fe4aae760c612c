#include "host/wave/AudioSettings.h"

#include <charconv>

#include "host/Device.h"

namespace host {

namespace {

std::string volume_setting(unsigned device) { return "audio.volume." + std::to_string(device); }

}  // namespace

std::string_view backend_name(AudioBackend backend) {
    switch (backend) {
        case AudioBackend::alsa: return "alsa";
        case AudioBackend::capture: return "capture";
        case AudioBackend::null: return "null";
    }
    return "alsa";
}

std::optional<AudioBackend> backend_from_name(std::string_view name) {
    for (auto backend : {AudioBackend::alsa, AudioBackend::capture, AudioBackend::null})
        if (backend_name(backend) == name) return backend;
    return std::nullopt;
}

std::optional<AudioBackend> AudioSettings::stored_backend() {
    const auto name = Device::current().database().setting(kAudioBackendSetting);
    return name ? backend_from_name(*name) : std::nullopt;
}

AudioBackend AudioSettings::backend() { return stored_backend().value_or(kDefaultAudioBackend); }

bool AudioSettings::set_backend(AudioBackend backend) {
    return Device::current().database().set_setting(kAudioBackendSetting, backend_name(backend));
}

std::string AudioSettings::alsa_pcm() {
    const auto pcm = Device::current().database().setting(kAlsaPcmSetting);
    return pcm && !pcm->empty() ? *pcm : std::string(kDefaultAlsaPcm);
}

bool AudioSettings::set_alsa_pcm(const std::string& pcm) {
    return Device::current().database().set_setting(kAlsaPcmSetting, pcm);
}

ce::DWORD AudioSettings::volume(unsigned device) {
    const auto text = Device::current().database().setting(volume_setting(device));
    if (!text) return kFullVolume;
    ce::DWORD value = kFullVolume;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    return error == std::errc() && end == text->data() + text->size() ? value : kFullVolume;
}

bool AudioSettings::set_volume(unsigned device, ce::DWORD volume) {
    return Device::current().database().set_setting(volume_setting(device), std::to_string(volume));
}

}  // namespace host
