#pragma once
// log/audio.log: one line per play of the capture back-end, appended when the play
// ends, naming the WAV file (under log/audio/) that holds exactly the bytes played:
//   2026-12-08 01:40:00.123 .. 2026-12-08 01:40:03.101  audio/….wav  PCM 48000 Hz 16-bit 1 ch
//   142722 bytes in 8 buffers of up to 19200  volume 0xFFFFFFFF          (all on one line)
// Times are the handheld's local time.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ce/Time.h"
#include "ce/Wave.h"

namespace host {

struct CaptureEntry {
    ce::SYSTEMTIME start;
    ce::SYSTEMTIME end;
    std::string file;  // relative to log/
    ce::WAVEFORMATEX format;
    std::uint64_t bytes = 0;
    std::uint64_t buffers = 0;      // headers written to the device
    ce::DWORD largest_buffer = 0;   // the longest of them
    ce::DWORD volume = 0;
};

class CaptureLog {
public:
    static std::filesystem::path path();
    static std::filesystem::path folder();  // where the WAV files go

    static std::string format(const CaptureEntry& entry);
    static std::optional<CaptureEntry> parse(const std::string& line);

    static bool append(const CaptureEntry& entry);
    // The lines in the order written; empty when nothing was captured yet.
    static std::vector<std::string> lines();
};

}  // namespace host
