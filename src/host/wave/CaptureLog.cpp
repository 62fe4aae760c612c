#include "host/wave/CaptureLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host/Device.h"
#include "host/clock/LocalTime.h"

namespace host {

namespace {

// "2026-12-08 01:40:00.123 .. 2026-12-08 01:40:03.101": two times of a fixed width.
constexpr std::size_t kTimeWidth = 23;
constexpr std::string_view kUntil = " .. ";

}  // namespace

std::filesystem::path CaptureLog::path() { return Device::current().log_dir() / "audio.log"; }
std::filesystem::path CaptureLog::folder() { return Device::current().log_dir() / "audio"; }

std::string CaptureLog::format(const CaptureEntry& entry) {
    char tail[200];
    std::snprintf(tail, sizeof tail, "  PCM %u Hz %u-bit %u ch  %llu bytes in %llu buffers of up to %u  volume 0x%08X",
                  static_cast<unsigned>(entry.format.nSamplesPerSec), entry.format.wBitsPerSample,
                  entry.format.nChannels, static_cast<unsigned long long>(entry.bytes),
                  static_cast<unsigned long long>(entry.buffers), static_cast<unsigned>(entry.largest_buffer),
                  static_cast<unsigned>(entry.volume));
    return time_text(entry.start, true) + std::string(kUntil) + time_text(entry.end, true) + "  " + entry.file + tail;
}

std::optional<CaptureEntry> CaptureLog::parse(const std::string& line) {
    const std::string_view text(line);
    const std::size_t end_at = kTimeWidth + kUntil.size();
    if (text.size() < end_at + kTimeWidth || text.substr(kTimeWidth, kUntil.size()) != kUntil) return std::nullopt;
    const auto start = time_from_text(text.substr(0, kTimeWidth));
    const auto end = time_from_text(text.substr(end_at, kTimeWidth));
    if (!start || !end) return std::nullopt;
    unsigned rate = 0, bits = 0, channels = 0, volume = 0;
    unsigned long long bytes = 0, buffers = 0;
    unsigned largest = 0;
    char file[256] = {};
    const int fields = std::sscanf(line.c_str() + end_at + kTimeWidth,
                                   " %255s PCM %u Hz %u-bit %u ch %llu bytes in %llu buffers of up to %u volume %x",
                                   file, &rate, &bits, &channels, &bytes, &buffers, &largest, &volume);
    if (fields != 8) return std::nullopt;
    CaptureEntry entry;
    entry.start = *start;
    entry.end = *end;
    entry.file = file;
    entry.format.wFormatTag = ce::WAVE_FORMAT_PCM;
    entry.format.nSamplesPerSec = rate;
    entry.format.wBitsPerSample = static_cast<ce::WORD>(bits);
    entry.format.nChannels = static_cast<ce::WORD>(channels);
    entry.bytes = bytes;
    entry.buffers = buffers;
    entry.largest_buffer = largest;
    entry.volume = volume;
    return entry;
}

bool CaptureLog::append(const CaptureEntry& entry) {
    // One write of a whole line to an O_APPEND file: lines of processes ending plays at
    // the same moment never interleave.
    const std::string line = format(entry) + '\n';
    const int fd = open(path().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    close(fd);
    return written;
}

std::vector<std::string> CaptureLog::lines() {
    std::vector<std::string> result;
    std::ifstream in(path());
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) result.push_back(line);
    return result;
}

}  // namespace host
