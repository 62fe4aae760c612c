#pragma once
// An open file of the handheld: the host file, what the handle may do with it, and its
// position. The host file also carries the sharing state the handle holds against other
// handles (ShareLock), which goes when it is closed. Closing the handle deletes the object.

#include <cstdint>
#include <mutex>
#include <string>

#include "host/HandleTable.h"

namespace host {

class FileHandle : public ce::KernelObject {
public:
    FileHandle(int fd, ce::DWORD access, std::string key);
    ~FileHandle() override;

    // Each returns ERROR_SUCCESS or the error to report. Reading stops early at the end.
    ce::DWORD read(void* buffer, ce::DWORD bytes, ce::DWORD* done);
    ce::DWORD write(const void* buffer, ce::DWORD bytes, ce::DWORD* done);
    // Moves to `distance` from the start, the position or the end; a position past
    // `limit` is refused (ERROR_INVALID_PARAMETER) and leaves the position where it was.
    ce::DWORD seek(std::int64_t distance, ce::DWORD method, std::int64_t limit, std::int64_t* position);
    ce::DWORD set_end();
    ce::DWORD flush();
    ce::DWORD size(std::uint64_t* bytes);

    int fd() const { return fd_; }
    bool can_read() const;
    bool can_write() const;

private:
    // The first change through a handle sets the file's archive attribute; later ones
    // need not ask the database again.
    void note_changed();

    std::mutex lock_;  // one call at a time moves the position
    int fd_;
    ce::DWORD access_;
    std::string key_;
    // Kept here rather than in the host file, so that a seek costs no system call and a
    // read or write is one positioned call.
    std::int64_t position_ = 0;
    bool changed_ = false;
};

}  // namespace host
