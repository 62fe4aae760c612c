#pragma once
// The WAV player: a thread of its own that streams one PCM file from a read-only
// memory-mapped view through a ring of six 200 ms buffers on the wave output device,
// refilling each as the device reports it played, and tells its owner window when a
// play has ended by itself (WM_SOUND_ENDED). The owner's thread never waits on it.

#include <atomic>
#include <cstdint>
#include <memory>

#include "ce/CWinThread.h"
#include "ce/FileMapping.h"
#include "ce/Wave.h"

// To the player's thread: stop (lParam 1: silently). To the owner: a play has ended.
inline constexpr ce::UINT WM_SOUND_ENDED = 0x04CB;

class CSoundWave : public ce::CWinThread {
public:
    static constexpr ce::DWORD kPlaying = 0;
    static constexpr ce::DWORD kNoFile = 1000;
    static constexpr ce::DWORD kAlreadyPlaying = 1001;
    static constexpr ce::DWORD kCannotMap = 1002;
    static constexpr ce::DWORD kNotWave = 1003;
    static constexpr ce::DWORD kNotPcm = 1004;
    static constexpr ce::DWORD kNoDevice = 1005;
    static constexpr ce::DWORD kNoBuffers = 1006;

    static constexpr ce::DWORD kBufferCount = 6;
    // An allocated device is tried this many more times, this far apart.
    static constexpr int kOpenRetries = 11;
    static constexpr int kOpenRetryMilliseconds = 10;
    // A play asked for while the last one is closing waits this long for its close report.
    static constexpr int kCloseWaitMilliseconds = 2000;

    // Without an owner no end is ever reported. Call CreateThread before Play.
    explicit CSoundWave(ce::HWND owner = nullptr);
    ~CSoundWave() override;

    // Starts playing the file; a result code above. Called from the owner's thread.
    virtual ce::DWORD Play(ce::LPCWSTR path);
    // Sets every wave device's volume, left and right, to `level` (0..65535); always 0.
    ce::DWORD SetVolume(ce::DWORD level);
    ce::BOOL IsOpen() const { return open_.load() ? ce::TRUE : ce::FALSE; }

protected:
    void OnThreadMessage(const ce::MSG& message) override;

private:
    bool AwaitCloseReport() const;
    ce::DWORD MapFile(ce::LPCWSTR path);
    void ReleaseMapping();
    ce::DWORD ReadHeader();
    ce::DWORD OpenDevice(ce::HWAVEOUT* device);
    ce::DWORD AllocateBuffers();
    void PrepareBuffers();
    void StartPlaying();
    ce::DWORD Fill(ce::WAVEHDR& header);
    void ReleasePlayedPages();

    void OnBufferDone(const ce::MSG& message);
    void OnDeviceClosed(const ce::MSG& message);
    void OnStopRequest(ce::LPARAM lParam);
    void OnPlayStarted() { stoppable_ = true; }
    void CloseDevice();
    void FreeBuffers();

    const ce::HWND owner_;
    bool notify_ = true;
    std::atomic<bool> open_{false};

    ce::HANDLE file_ = ce::INVALID_HANDLE_VALUE;
    ce::HANDLE mapping_ = nullptr;
    const std::uint8_t* view_ = nullptr;
    std::uint32_t file_size_ = 0;
    std::uint32_t data_start_ = 0;
    std::uint32_t data_length_ = 0;  // the bytes to play (never beyond the file)
    std::uint32_t position_ = 0;
    std::uint32_t total_queued_ = 0;
    std::uint32_t played_ = 0;
    static constexpr std::uint32_t kReleaseStep = 1024 * 1024;
    std::uint32_t released_ = 0;  // the view below this offset has been given back

    ce::WAVEFORMATEX format_;
    ce::HWAVEOUT device_ = nullptr;
    ce::HWAVEOUT closed_device_ = nullptr;  // closed by the player, its close report awaited
    // Player's thread only: a stop request taken now is meant for the current play. Set
    // by the message Play queues before the device runs, so the requests an owner posted
    // for an earlier play (they are queued ahead of it) never reach a later one.
    bool stoppable_ = false;
    std::uint32_t buffer_size_ = 0;
    std::unique_ptr<ce::WAVEHDR[]> headers_;
    std::unique_ptr<std::uint8_t[]> data_;
    // Set from allocation until the device-closed step frees them; Play reads it from
    // the owner's thread.
    std::atomic<bool> buffers_allocated_{false};
    std::uint32_t queued_ = 0;
};
