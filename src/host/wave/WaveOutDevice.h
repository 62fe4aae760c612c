#pragma once
// An open wave output device (behind an HWAVEOUT): the queue of written headers and a
// worker thread that plays them in order, slice by slice, through the back-end's sink,
// at the format's real rate, reporting each finished header to the callback.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "host/HandleTable.h"
#include "host/wave/WaveCallback.h"
#include "host/wave/WaveSink.h"

namespace host {

class WaveOutDevice : public ce::KernelObject {
public:
    WaveOutDevice(const ce::WAVEFORMATEX& format, WaveCallback callback, std::unique_ptr<WaveSink> sink);
    ~WaveOutDevice() override;

    // Opens the sink and starts the worker; the handle must be set before anything is reported.
    ce::MMRESULT start(ce::HWAVEOUT handle);

    ce::MMRESULT prepare(ce::WAVEHDR* header);
    ce::MMRESULT unprepare(ce::WAVEHDR* header);
    ce::MMRESULT write(ce::WAVEHDR* header);
    ce::MMRESULT pause();
    ce::MMRESULT restart();
    ce::MMRESULT reset();
    // WAVERR_STILLPLAYING while headers are queued; else stops the worker and gives the
    // sink back. The caller then drops the handle and reports MM_WOM_CLOSE.
    ce::MMRESULT close();
    const WaveCallback& callback() const { return callback_; }

    // The volume every device of the process plays with, kept with the handheld's
    // settings so that it is the device's and outlives the handle.
    static ce::DWORD volume();
    static void set_volume(ce::DWORD volume);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    // Copies the next slice of the front header; false when nothing may play now.
    bool take_slice(std::vector<ce::BYTE>* slice);
    bool interrupted(std::uint64_t generation) const;
    // Waits until the slice's time has come; false when interrupted first.
    bool wait_for_turn(std::unique_lock<std::mutex>& guard, std::size_t bytes, std::uint64_t generation);
    void consume(std::size_t bytes);
    void finish_front();

    const ce::WAVEFORMATEX format_;
    const WaveCallback callback_;
    const std::unique_ptr<WaveSink> sink_;
    const std::size_t slice_bytes_;
    ce::HWAVEOUT handle_ = nullptr;

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<ce::WAVEHDR*> queue_;
    std::size_t offset_ = 0;        // bytes of the front header already played
    std::uint64_t generation_ = 0;  // moves on each reset, so a slice in flight is dropped
    bool paused_ = false;
    bool stopping_ = false;
    bool discard_ = false;           // the sink is to drop what it holds
    bool clock_running_ = false;
    Clock::time_point due_;          // when the sound written so far will have played
    BufferStats buffers_;
    std::thread worker_;
};

}  // namespace host
