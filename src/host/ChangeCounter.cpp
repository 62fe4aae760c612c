#include "host/ChangeCounter.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>

namespace host {

ChangeCounter::~ChangeCounter() {
    if (count_ != nullptr) munmap(count_, sizeof *count_);
}

bool ChangeCounter::open(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    // A new file is extended to hold the count (zero); one already that long keeps it. Its
    // blocks are taken, not only its length: on a full disk a write to a page without one
    // would end the process with SIGBUS.
    const bool sized = posix_fallocate(fd, 0, sizeof *count_) == 0;
    void* memory = sized ? mmap(nullptr, sizeof *count_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    close(fd);
    if (memory == MAP_FAILED) return false;
    count_ = static_cast<std::uint64_t*>(memory);
    return true;
}

std::optional<std::uint64_t> ChangeCounter::value() const {
    if (count_ == nullptr) return std::nullopt;
    return std::atomic_ref<std::uint64_t>(*count_).load(std::memory_order_acquire);
}

void ChangeCounter::bump() {
    if (count_ != nullptr) std::atomic_ref<std::uint64_t>(*count_).fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace host
