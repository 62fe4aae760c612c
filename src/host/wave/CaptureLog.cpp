#include "host/wave/CaptureLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host/Device.h"

namespace host {

namespace {

std::string time_text(const ce::SYSTEMTIME& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

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
    return time_text(entry.start) + " .. " + time_text(entry.end) + "  " + entry.file + tail;
}

std::optional<CaptureEntry> CaptureLog::parse(const std::string& line) {
    CaptureEntry entry;
    unsigned s[7], e[7], rate = 0, bits = 0, channels = 0, volume = 0;
    unsigned long long bytes = 0, buffers = 0;
    unsigned largest = 0;
    char file[256] = {};
    const int fields = std::sscanf(
        line.c_str(), "%u-%u-%u %u:%u:%u.%u .. %u-%u-%u %u:%u:%u.%u %255s PCM %u Hz %u-bit %u ch %llu bytes in %llu buffers of up to %u volume %x",
        &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &e[0], &e[1], &e[2], &e[3], &e[4], &e[5], &e[6], file, &rate,
        &bits, &channels, &bytes, &buffers, &largest, &volume);
    if (fields != 22) return std::nullopt;
    const auto to_time = [](const unsigned* v) {
        ce::SYSTEMTIME time;
        time.wYear = static_cast<ce::WORD>(v[0]);
        time.wMonth = static_cast<ce::WORD>(v[1]);
        time.wDay = static_cast<ce::WORD>(v[2]);
        time.wHour = static_cast<ce::WORD>(v[3]);
        time.wMinute = static_cast<ce::WORD>(v[4]);
        time.wSecond = static_cast<ce::WORD>(v[5]);
        time.wMilliseconds = static_cast<ce::WORD>(v[6]);
        return time;
    };
    entry.start = to_time(s);
    entry.end = to_time(e);
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
    const int fd = open(path().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
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
