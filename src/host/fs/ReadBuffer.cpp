#include "host/fs/ReadBuffer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace host {

bool ReadBuffer::holds(std::int64_t position, std::size_t bytes) const {
    const std::int64_t end = start_ + static_cast<std::int64_t>(data_.size());
    if (position < start_ || position > end) return false;
    return ends_file_ || position + static_cast<std::int64_t>(bytes) <= end;
}

bool ReadBuffer::fill(int fd, std::int64_t position) {
    data_.resize(kBytes);
    std::size_t got = 0;
    while (got < kBytes) {
        const ssize_t part = pread(fd, data_.data() + got, kBytes - got, static_cast<off_t>(position) + got);
        if (part < 0 && errno == EINTR) continue;
        if (part < 0) {
            drop();
            return false;
        }
        if (part == 0) break;
        got += static_cast<std::size_t>(part);
    }
    data_.resize(got);
    start_ = position;
    ends_file_ = got < kBytes;
    return true;
}

ssize_t ReadBuffer::read(int fd, std::int64_t position, char* out, std::size_t bytes) {
    // Whole pieces from the start of the file, so that a small file is one piece however
    // its reader moves about in it; a read across the end of a piece gets one of its own.
    if (!holds(position, bytes)) {
        const std::int64_t piece = position - position % static_cast<std::int64_t>(kBytes);
        if (!fill(fd, piece)) return -1;
        if (!holds(position, bytes) && !fill(fd, position)) return -1;
    }
    const auto offset = static_cast<std::size_t>(position - start_);
    const std::size_t copied = std::min(bytes, data_.size() - offset);
    if (copied > 0) std::memcpy(out, data_.data() + offset, copied);
    return static_cast<ssize_t>(copied);
}

void ReadBuffer::drop() {
    data_.clear();
    start_ = 0;
    ends_file_ = false;
}

}  // namespace host
