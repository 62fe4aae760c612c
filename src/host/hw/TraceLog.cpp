#include "host/hw/TraceLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "host/LockFile.h"

namespace host::hw {

namespace {

std::string header(std::size_t index, const sim::DecodedTrace& trace, const sim::Transmission& transmission,
                   std::string_view profile) {
    char text[200];
    std::snprintf(text, sizeof text, "# send %zu %.*s at %.6f s: %u Hz carrier, duty %.2f, %zu marks\n", index,
                  static_cast<int>(profile.size()), profile.data(), static_cast<double>(transmission.begin_ns) / 1e9,
                  trace.carrier_hz(), trace.duty, trace.marks());
    return text;
}

}  // namespace

bool TraceLog::append(const sim::DecodedTrace& trace, const sim::Transmission& transmission, std::string_view profile,
                      std::string_view port) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool written = false;
    {
        // The index counts the blocks already there; a lock keeps two appenders apart.
        const LockFile lock = LockFile::on(fd);
        const std::string note = port.empty() ? std::string() : "# lirc " + std::string(port) + '\n';
        const std::string block = header(blocks().size() + 1, trace, transmission, profile) + note + trace.mode2();
        written = ::write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
    }
    ::close(fd);
    return written;
}

std::vector<std::string> TraceLog::blocks() const {
    std::vector<std::string> blocks;
    std::ifstream in(path_);
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("# send ") || blocks.empty()) blocks.emplace_back();
        blocks.back() += line + '\n';
    }
    return blocks;
}

}  // namespace host::hw
