#include "host/wave/CaptureSink.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <system_error>

#include "host/clock/Clock.h"

namespace host {

namespace {

std::atomic<unsigned> g_plays{0};

std::chrono::system_clock::duration duration_of(std::size_t bytes, const ce::WAVEFORMATEX& format) {
    const auto nanoseconds = static_cast<std::int64_t>(bytes) * 1'000'000'000 / format.nAvgBytesPerSec;
    return std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::nanoseconds(nanoseconds));
}

}  // namespace

std::string CaptureSink::file_name() const {
    const auto& t = entry_.start;
    char name[128];
    std::snprintf(name, sizeof name, "audio/%04u%02u%02u-%02u%02u%02u.%03u-%d-%u.wav", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, static_cast<int>(getpid()), g_plays.fetch_add(1));
    return name;
}

ce::MMRESULT CaptureSink::open(const ce::WAVEFORMATEX& format) {
    bool busy = false;
    lock_ = DeviceLock::try_acquire(0, &busy);
    if (lock_ == nullptr) return busy ? ce::MMSYSERR_ALLOCATED : ce::MMSYSERR_ERROR;
    entry_.format = format;
    entry_.start = device_local_time(device_utc_now());
    entry_.end = entry_.start;
    entry_.volume = AudioSettings::volume(0);
    entry_.file = file_name();
    std::error_code error;
    std::filesystem::create_directories(CaptureLog::folder(), error);
    if (!file_.create(CaptureLog::folder().parent_path() / entry_.file, format)) {
        lock_.reset();
        return ce::MMSYSERR_ERROR;
    }
    return ce::MMSYSERR_NOERROR;
}

void CaptureSink::write(const ce::BYTE* bytes, std::size_t count, ce::DWORD volume) {
    // The device hands over a slice once its time has passed: it started that long ago.
    const auto now = device_utc_now();
    if (!started_) {
        started_ = true;
        entry_.start = device_local_time(now - duration_of(count, entry_.format));
    }
    entry_.end = device_local_time(now);
    entry_.volume = volume;
    file_.append(bytes, count);
}

void CaptureSink::close(const BufferStats& buffers) {
    if (lock_ == nullptr) return;
    entry_.bytes = file_.bytes();
    entry_.buffers = buffers.count;
    entry_.largest_buffer = buffers.largest;
    file_.finish();
    // A device opened and closed without a sound is no play worth a line.
    std::error_code error;
    if (entry_.bytes == 0)
        std::filesystem::remove(CaptureLog::folder().parent_path() / entry_.file, error);
    else
        CaptureLog::append(entry_);
    lock_.reset();
}

}  // namespace host
