// The wave output calls of the platform interface over WaveOutDevice.

#include "ce/Wave.h"
#include "host/Device.h"
#include "host/wave/AudioSettings.h"
#include "host/wave/WaveOutDevice.h"

namespace ce {

namespace {

constexpr UINT kDeviceCount = 1;
constexpr DWORD kCallbackKinds = 0x00070000;

HANDLE as_handle(HWAVEOUT device) { return reinterpret_cast<HANDLE>(device); }

host::WaveOutDevice* find(HWAVEOUT device) { return host::handle_as<host::WaveOutDevice>(as_handle(device)); }

bool valid_format(const WAVEFORMATEX& format) {
    const bool known_bits = format.wBitsPerSample == 8 || format.wBitsPerSample == 16 ||
                            format.wBitsPerSample == 24 || format.wBitsPerSample == 32;
    if (format.wFormatTag != WAVE_FORMAT_PCM || !known_bits) return false;
    if (format.nChannels < 1 || format.nChannels > 8) return false;
    if (format.nSamplesPerSec < 1 || format.nSamplesPerSec > 768000) return false;
    const DWORD block = DWORD{format.nChannels} * format.wBitsPerSample / 8;
    return format.nBlockAlign == block && format.nAvgBytesPerSec == block * format.nSamplesPerSec;
}

bool valid_header(const WAVEHDR* header, UINT size) { return header != nullptr && size >= sizeof(WAVEHDR); }

// A device index passed where a handle goes (as the volume calls allow), or nothing.
bool device_index(HWAVEOUT device, UINT* index) {
    const auto value = reinterpret_cast<std::uintptr_t>(device);
    if (value >= kDeviceCount) return false;
    *index = static_cast<UINT>(value);
    return true;
}

}  // namespace

UINT waveOutGetNumDevs() { return kDeviceCount; }

MMRESULT waveOutOpen(HWAVEOUT* device, UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR /*instance*/, DWORD flags) {
    if (format == nullptr) return MMSYSERR_INVALPARAM;
    if (deviceId != WAVE_MAPPER && deviceId >= kDeviceCount) return MMSYSERR_BADDEVICEID;
    if ((flags & ~(kCallbackKinds | WAVE_FORMAT_QUERY)) != 0) return MMSYSERR_INVALFLAG;
    const host::WaveCallback target(flags & kCallbackKinds, callback);
    if (const MMRESULT checked = target.check(); checked != MMSYSERR_NOERROR) return checked;
    if (!valid_format(*format)) return WAVERR_BADFORMAT;
    if ((flags & WAVE_FORMAT_QUERY) != 0) return MMSYSERR_NOERROR;
    if (device == nullptr) return MMSYSERR_INVALPARAM;
    if (!host::Device::current().ready()) return MMSYSERR_NODRIVER;

    auto* object = new host::WaveOutDevice(*format, target, host::WaveSink::create(host::AudioSettings::backend()));
    auto handle = reinterpret_cast<HWAVEOUT>(host::register_handle(object));
    if (const MMRESULT started = object->start(handle); started != MMSYSERR_NOERROR) {
        CloseHandle(as_handle(handle));
        return started;
    }
    *device = handle;
    target.report(handle, MM_WOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device) {
    auto* object = find(device);
    if (object == nullptr) return MMSYSERR_INVALHANDLE;
    if (const MMRESULT closed = object->close(); closed != MMSYSERR_NOERROR) return closed;
    const host::WaveCallback target = object->callback();
    CloseHandle(as_handle(device));
    // Reported once the handle is gone, so the receiver cannot reach the closed device.
    target.report(device, MM_WOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
    auto* object = find(device);
    if (object == nullptr) return MMSYSERR_INVALHANDLE;
    return valid_header(header, headerSize) ? object->prepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
    auto* object = find(device);
    if (object == nullptr) return MMSYSERR_INVALHANDLE;
    return valid_header(header, headerSize) ? object->unprepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT headerSize) {
    auto* object = find(device);
    if (object == nullptr) return MMSYSERR_INVALHANDLE;
    return valid_header(header, headerSize) ? object->write(header) : MMSYSERR_INVALPARAM;
}

MMRESULT waveOutPause(HWAVEOUT device) {
    auto* object = find(device);
    return object == nullptr ? MMSYSERR_INVALHANDLE : object->pause();
}

MMRESULT waveOutRestart(HWAVEOUT device) {
    auto* object = find(device);
    return object == nullptr ? MMSYSERR_INVALHANDLE : object->restart();
}

MMRESULT waveOutReset(HWAVEOUT device) {
    auto* object = find(device);
    return object == nullptr ? MMSYSERR_INVALHANDLE : object->reset();
}

MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
    UINT index = 0;
    if (!device_index(device, &index) && find(device) == nullptr) return MMSYSERR_INVALHANDLE;
    if (!host::Device::current().ready()) return MMSYSERR_NODRIVER;
    host::WaveOutDevice::set_volume(volume);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume) {
    if (volume == nullptr) return MMSYSERR_INVALPARAM;
    UINT index = 0;
    if (!device_index(device, &index) && find(device) == nullptr) return MMSYSERR_INVALHANDLE;
    if (!host::Device::current().ready()) return MMSYSERR_NODRIVER;
    *volume = host::WaveOutDevice::volume();
    return MMSYSERR_NOERROR;
}

}  // namespace ce
