#pragma once
// A file whose opening for writing hangs, as a device node or a sound server that takes
// the call and never answers: a child process holds a read lease on it, and the kernel
// keeps a writer waiting for /proc/sys/fs/lease-break-time (45 s unless set) before it
// breaks the lease by force. Ending the holder lets a waiting open end at once.

#include <sys/types.h>

#include <filesystem>

namespace testing_support {

class HungOpenFile {
public:
    explicit HungOpenFile(std::filesystem::path path);
    ~HungOpenFile();  // ends the holder, so that a call left waiting ends too
    HungOpenFile(const HungOpenFile&) = delete;
    HungOpenFile& operator=(const HungOpenFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // False when the file system lends no leases: the file then opens at once.
    bool hangs() const { return holder_ > 0; }

private:
    std::filesystem::path path_;
    pid_t holder_ = -1;
};

}  // namespace testing_support
