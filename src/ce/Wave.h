#pragma once
// The handheld's wave output: PCM buffers queued on a device, each reported back when
// it has been played. The device plays through the handheld's audio back-end (its
// speaker, a capture to log/, or nothing), always at the format's real rate.

#include "ce/Messages.h"

namespace ce {

using MMRESULT = UINT;
struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;

inline constexpr UINT WAVE_MAPPER = 0xFFFFFFFF;  // any device that can play the format
inline constexpr WORD WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    WORD wFormatTag = 0;
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    WORD nBlockAlign = 0;
    WORD wBitsPerSample = 0;
    WORD cbSize = 0;
};

struct WAVEHDR {
    char* lpData = nullptr;
    DWORD dwBufferLength = 0;
    DWORD dwBytesRecorded = 0;
    DWORD_PTR dwUser = 0;
    DWORD dwFlags = 0;
    DWORD dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    DWORD_PTR reserved = 0;
};

inline constexpr DWORD WHDR_DONE = 0x00000001;
inline constexpr DWORD WHDR_PREPARED = 0x00000002;
inline constexpr DWORD WHDR_BEGINLOOP = 0x00000004;
inline constexpr DWORD WHDR_ENDLOOP = 0x00000008;
inline constexpr DWORD WHDR_INQUEUE = 0x00000010;

// waveOutOpen flags: where the device reports.
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;  // callback is an HWND
inline constexpr DWORD CALLBACK_THREAD = 0x00020000;  // callback is a thread id
inline constexpr DWORD CALLBACK_FUNCTION = 0x00030000;
inline constexpr DWORD WAVE_FORMAT_QUERY = 0x00000001;

// Reports, with wParam = the device handle; MM_WOM_DONE has lParam = the WAVEHDR*.
inline constexpr UINT MM_WOM_OPEN = 0x03BB;
inline constexpr UINT MM_WOM_CLOSE = 0x03BC;
inline constexpr UINT MM_WOM_DONE = 0x03BD;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

// The handheld has one wave output device, index 0.
UINT waveOutGetNumDevs();

// Opens device `deviceId` (or WAVE_MAPPER) for PCM of 1-8 channels of 8, 16, 24 or 32
// bits whose block alignment and average bytes per second agree with them; anything
// else is WAVERR_BADFORMAT. MMSYSERR_ALLOCATED while another opener holds a device that
// cannot be shared. The device starts playing as soon as a buffer is written; the
// callback (per `flags`) gets MM_WOM_OPEN, MM_WOM_DONE per buffer and MM_WOM_CLOSE.
MMRESULT waveOutOpen(HWAVEOUT* device, UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags);
// WAVERR_STILLPLAYING while buffers are queued (waveOutReset returns them first).
MMRESULT waveOutClose(HWAVEOUT device);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
// Queues a prepared header; buffers play in the order written.
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutRestart(HWAVEOUT device);
// Stops at once and reports every queued buffer done, in order.
MMRESULT waveOutReset(HWAVEOUT device);
// The volume of the device an open handle plays on, or of the device whose index is
// passed in place of a handle (reinterpret_cast<HWAVEOUT>(index)): left in the low 16
// bits, right in the high 16 bits, 0xFFFF full. It is the device's, kept by the handheld.
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume);

}  // namespace ce
