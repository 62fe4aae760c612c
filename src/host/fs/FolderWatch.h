#pragma once
// What FindFirstChangeNotificationW hands out: an inotify watch on one folder of the
// handheld's fs/, waitable as a kernel object. It stays signalled while changes it has
// not let go of are queued; re-arming drains them.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "host/sync/Waitable.h"

namespace host {

class FolderWatch : public Waitable {
public:
    // Nothing, with *error set, when the watch cannot be made.
    static std::unique_ptr<FolderWatch> open(const std::filesystem::path& folder, std::uint32_t events, ce::DWORD* error);
    ~FolderWatch() override;

    ce::DWORD wait(ce::DWORD milliseconds) override;
    // Lets go of every change queued so far.
    void rearm();

private:
    explicit FolderWatch(int fd) : fd_(fd) {}

    int fd_;
};

}  // namespace host
