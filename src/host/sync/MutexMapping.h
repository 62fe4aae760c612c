#pragma once
// The memory a mutex lives in. A named mutex is a small file under run/mutex/ mapped by
// every process that has a handle to it; each such process holds a shared OFD lock on
// the file, which is how a creator tells whether a handle is open anywhere (a file left
// from an earlier run does not count). Creating or opening is serialised by flock on the
// same file, and the mutex is initialised afresh whenever nobody has it open.

#include <pthread.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "ce/Types.h"
#include "host/sync/AbandonedOwner.h"

namespace host {

class MutexMapping {
public:
    // `owned`: the calling thread takes the new mutex before anyone else can see it.
    static std::unique_ptr<MutexMapping> create_private(bool owned, ce::DWORD* error);
    // *created tells whether no handle was open anywhere, in which case the calling
    // thread owns the mutex when `owned_if_created` asks for it. A file first made on a
    // full disk gets its room from `reserve` (the handheld's DiskReserve), given back.
    static std::unique_ptr<MutexMapping> open_shared(const std::filesystem::path& file, bool owned_if_created,
                                                     const std::filesystem::path& reserve, bool* created,
                                                     ce::DWORD* error);

    ~MutexMapping();
    MutexMapping(const MutexMapping&) = delete;
    MutexMapping& operator=(const MutexMapping&) = delete;

    pthread_mutex_t* mutex() { return &layout_->mutex; }
    // The mapped file; -1 for a private mutex.
    int fd() const { return fd_; }
    MutexOwner* owner() { return &layout_->owner; }

private:
    struct Layout {
        std::uint32_t magic;
        std::uint32_t layout_bytes;  // a different build's file is not taken for ours
        pthread_mutex_t mutex;
        MutexOwner owner;
    };
    static constexpr std::uint32_t kMagic = 0x4B4D5458;  // "KMTX"

    MutexMapping(int fd, Layout* layout) : fd_(fd), layout_(layout) {}
    static bool others_have_it_open(int fd);
    static bool prepare(Layout* layout, bool process_shared, bool owned);
    static std::unique_ptr<MutexMapping> map_locked(int fd, bool owned_if_created, bool* created, ce::DWORD* error);

    int fd_;  // -1 for a private mutex
    Layout* layout_;
};

}  // namespace host
