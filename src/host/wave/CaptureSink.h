#pragma once
// The capture back-end: plays at the real rate (paced by the device) into a WAV file
// under log/audio/, one file and one line of log/audio.log per play (open to close).
// The device is exclusive across the handheld's processes, as one speaker is: a second
// opener gets MMSYSERR_ALLOCATED until the first closes.

#include <chrono>
#include <memory>
#include <string>

#include "host/wave/CaptureFile.h"
#include "host/wave/CaptureLog.h"
#include "host/wave/DeviceLock.h"
#include "host/wave/WaveSink.h"

namespace host {

class CaptureSink : public WaveSink {
public:
    ce::MMRESULT open(const ce::WAVEFORMATEX& format) override;
    void write(const ce::BYTE* bytes, std::size_t count, ce::DWORD volume) override;
    void close(const BufferStats& buffers) override;

private:
    std::string file_name() const;

    std::unique_ptr<DeviceLock> lock_;
    CaptureFile file_;
    CaptureEntry entry_;
    std::chrono::system_clock::time_point start_;
    bool started_ = false;
};

}  // namespace host
