#pragma once
// What FindFirstChangeNotificationW hands out: an inotify watch on one folder of the
// handheld's fs/, waitable as a kernel object. It stays signalled while changes it has
// not let go of are queued; re-arming drains them, taking them names them one by one.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/sync/Waitable.h"

namespace host {

class FolderWatch : public Waitable {
public:
    // One change of an entry of the folder: a FILE_ACTION_* and the entry's device name.
    struct Change {
        ce::DWORD action = 0;
        std::u16string name;
    };

    // Nothing, with *error set, when the watch cannot be made.
    static std::unique_ptr<FolderWatch> open(const std::filesystem::path& folder, std::uint32_t events, ce::DWORD* error);
    ~FolderWatch() override;

    ce::DWORD wait(ce::DWORD milliseconds) override;
    // Lets go of every change queued so far.
    void rearm();

    // The oldest change not taken yet, without taking it; nothing when none is queued.
    std::optional<Change> peek();
    void pop();
    // The bytes `record_bytes` gives for every change still queued.
    std::uint64_t queued_bytes(std::uint64_t (*record_bytes)(const Change&));
    // Whether changes were lost since last asked (the kernel's queue overflowed, or the
    // folder itself was removed or moved): the queue is emptied, the folder to be read again.
    bool take_lost();

private:
    explicit FolderWatch(int fd) : fd_(fd) {}
    // Moves what the kernel has queued into changes_. Called with lock_ held.
    void collect();
    void queue(std::uint32_t mask, const char* name);

    // More changes than anyone taking them would want one by one: the folder is read again.
    static constexpr std::size_t kMostQueued = 4096;

    int fd_;
    std::mutex lock_;
    std::deque<Change> changes_;  // guarded by lock_
    bool lost_ = false;           // guarded by lock_
};

}  // namespace host
