#include "host/wave/WaveOutDevice.h"

#include <algorithm>
#include <cstring>

#include "host/wave/AudioSettings.h"

namespace host {

namespace {

// A slice is 20 ms: pause and reset take effect within that, and pacing stays smooth.
constexpr std::size_t kSlicesPerSecond = 50;
constexpr auto kLongestStall = std::chrono::milliseconds(200);

std::size_t slice_bytes(const ce::WAVEFORMATEX& format) {
    const std::size_t blocks = std::max<std::size_t>(1, format.nSamplesPerSec / kSlicesPerSecond);
    return blocks * format.nBlockAlign;
}

// The handheld's volume as last read or set in this process; each open reads it afresh,
// since another program (or another handheld selected since) may have changed it.
std::atomic<ce::DWORD> g_volume{kFullVolume};

}  // namespace

WaveOutDevice::WaveOutDevice(const ce::WAVEFORMATEX& format, WaveCallback callback, std::unique_ptr<WaveSink> sink)
    : format_(format), callback_(callback), sink_(std::move(sink)), slice_bytes_(slice_bytes(format)) {}

WaveOutDevice::~WaveOutDevice() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

ce::DWORD WaveOutDevice::volume() { return g_volume = AudioSettings::volume(0); }

void WaveOutDevice::set_volume(ce::DWORD volume) {
    g_volume = volume;
    AudioSettings::set_volume(0, volume);
}

ce::MMRESULT WaveOutDevice::start(ce::HWAVEOUT handle) {
    handle_ = handle;
    if (const ce::MMRESULT opened = sink_->open(format_); opened != ce::MMSYSERR_NOERROR) return opened;
    volume();  // read the setting now, not from the worker in the middle of a play
    worker_ = std::thread([this] { run(); });
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::prepare(ce::WAVEHDR* header) {
    std::lock_guard guard(lock_);
    if ((header->dwFlags & ce::WHDR_INQUEUE) != 0) return ce::WAVERR_STILLPLAYING;
    header->dwFlags |= ce::WHDR_PREPARED;
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::unprepare(ce::WAVEHDR* header) {
    std::lock_guard guard(lock_);
    if ((header->dwFlags & ce::WHDR_INQUEUE) != 0) return ce::WAVERR_STILLPLAYING;
    header->dwFlags &= ~ce::WHDR_PREPARED;
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::write(ce::WAVEHDR* header) {
    {
        std::lock_guard guard(lock_);
        if ((header->dwFlags & ce::WHDR_PREPARED) == 0) return ce::WAVERR_UNPREPARED;
        if ((header->dwFlags & ce::WHDR_INQUEUE) != 0) return ce::WAVERR_STILLPLAYING;
        if (header->lpData == nullptr && header->dwBufferLength > 0) return ce::MMSYSERR_INVALPARAM;
        header->dwFlags = (header->dwFlags & ~ce::WHDR_DONE) | ce::WHDR_INQUEUE;
        queue_.push_back(header);
        ++buffers_.count;
        buffers_.largest = std::max(buffers_.largest, header->dwBufferLength);
    }
    changed_.notify_all();
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::pause() {
    std::lock_guard guard(lock_);
    paused_ = true;
    clock_running_ = false;
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::restart() {
    {
        std::lock_guard guard(lock_);
        paused_ = false;
    }
    changed_.notify_all();
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::reset() {
    {
        std::lock_guard guard(lock_);
        ++generation_;
        while (!queue_.empty()) finish_front();
        paused_ = false;
        clock_running_ = false;
        discard_ = true;
    }
    changed_.notify_all();
    return ce::MMSYSERR_NOERROR;
}

ce::MMRESULT WaveOutDevice::close() {
    {
        std::lock_guard guard(lock_);
        if (!queue_.empty()) return ce::WAVERR_STILLPLAYING;
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (discard_) sink_->discard();
    sink_->close(buffers_);
    return ce::MMSYSERR_NOERROR;
}

void WaveOutDevice::finish_front() {
    ce::WAVEHDR* header = queue_.front();
    queue_.pop_front();
    offset_ = 0;
    header->dwFlags = (header->dwFlags & ~ce::WHDR_INQUEUE) | ce::WHDR_DONE;
    callback_.report(handle_, ce::MM_WOM_DONE, reinterpret_cast<ce::LPARAM>(header));
}

bool WaveOutDevice::take_slice(std::vector<ce::BYTE>* slice) {
    ce::WAVEHDR* header = queue_.front();
    if (offset_ >= header->dwBufferLength) return false;
    const std::size_t count = std::min(slice_bytes_, header->dwBufferLength - offset_);
    slice->assign(header->lpData + offset_, header->lpData + offset_ + count);
    return count > 0;
}

bool WaveOutDevice::interrupted(std::uint64_t generation) const {
    return stopping_ || paused_ || generation != generation_;
}

bool WaveOutDevice::wait_for_turn(std::unique_lock<std::mutex>& guard, std::size_t bytes, std::uint64_t generation) {
    // The clock runs on from the last slice, as a sound card's would, so a late wake-up of
    // this thread costs no time; after a pause, an empty queue or a long stall it restarts.
    const auto now = Clock::now();
    if (!clock_running_ || due_ + kLongestStall < now) due_ = now;
    clock_running_ = true;
    const auto due = due_ + std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * 1'000'000'000 /
                                                     static_cast<std::int64_t>(format_.nAvgBytesPerSec));
    if (changed_.wait_until(guard, due, [&] { return interrupted(generation); })) return false;
    due_ = due;
    return true;
}

void WaveOutDevice::consume(std::size_t bytes) {
    offset_ += bytes;
    if (offset_ >= queue_.front()->dwBufferLength) finish_front();
}

void WaveOutDevice::run() {
    std::vector<ce::BYTE> slice;
    slice.reserve(slice_bytes_);
    std::unique_lock guard(lock_);
    while (true) {
        if (queue_.empty()) clock_running_ = false;
        changed_.wait(guard, [&] { return stopping_ || discard_ || (!paused_ && !queue_.empty()); });
        if (stopping_) return;
        if (discard_) {
            discard_ = false;
            guard.unlock();
            sink_->discard();
            guard.lock();
            continue;
        }
        if (!take_slice(&slice)) {
            finish_front();  // an empty buffer is done at once
            continue;
        }
        const std::uint64_t generation = generation_;
        if (!sink_->paces_itself() && !wait_for_turn(guard, slice.size(), generation)) continue;
        const ce::DWORD level = g_volume;
        guard.unlock();
        sink_->write(slice.data(), slice.size(), level);
        guard.lock();
        // A reset while the slice was being written has already returned its header.
        if (generation == generation_) consume(slice.size());
    }
}

}  // namespace host
