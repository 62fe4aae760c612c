#pragma once
// The mutexes this process has handles to, by file, so that every handle to one named
// mutex shares its MutexObject and only the first opens the file.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "ce/Types.h"
#include "host/sync/MutexObject.h"

namespace host {

class MutexTable {
public:
    static MutexTable& instance();

    // A handle more on the named mutex. *existed: a handle to it was already open, here
    // or in another process; otherwise it is new and the caller owns it if `owned` asks.
    // `reserve`: the handheld's DiskReserve, which gives room to a file first made on a full disk.
    std::shared_ptr<MutexObject> open_named(const std::filesystem::path& file, bool owned,
                                            const std::filesystem::path& reserve, bool* existed, ce::DWORD* error);
    std::shared_ptr<MutexObject> open_private(bool owned, ce::DWORD* error);

    // A handle fewer. With the last one the calling thread lets go of the mutex; the
    // object then goes too, unless another running thread of ours still owns it.
    void close(const std::shared_ptr<MutexObject>& object);

private:
    // Lets go of handle-less objects whose owning thread has ended since.
    void sweep();

    std::mutex lock_;
    std::map<std::filesystem::path, std::shared_ptr<MutexObject>> named_;
    std::vector<std::shared_ptr<MutexObject>> owned_private_;  // no handle left, still owned
};

}  // namespace host
