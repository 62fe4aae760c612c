#include "host/fs/FolderWatch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "ce/FileChange.h"
#include "ce/Sync.h"
#include "ce/Text.h"
#include "host/fs/HostError.h"

namespace host {

namespace {

ce::DWORD action_of(std::uint32_t mask) {
    if ((mask & IN_CREATE) != 0) return ce::FILE_ACTION_ADDED;
    if ((mask & IN_DELETE) != 0) return ce::FILE_ACTION_REMOVED;
    if ((mask & IN_MOVED_FROM) != 0) return ce::FILE_ACTION_RENAMED_OLD_NAME;
    if ((mask & IN_MOVED_TO) != 0) return ce::FILE_ACTION_RENAMED_NEW_NAME;
    return ce::FILE_ACTION_MODIFIED;
}

}  // namespace

std::unique_ptr<FolderWatch> FolderWatch::open(const std::filesystem::path& folder, std::uint32_t events,
                                               ce::DWORD* error) {
    const int fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0) {
        *error = ce::ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    // The folder itself going away is a change too: whoever shows it has nothing left to show.
    if (inotify_add_watch(fd, folder.c_str(), events | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) < 0) {
        *error = HostError::from_errno(errno, ce::ERROR_PATH_NOT_FOUND);
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<FolderWatch>(new FolderWatch(fd));
}

FolderWatch::~FolderWatch() { close(fd_); }

ce::DWORD FolderWatch::wait(ce::DWORD milliseconds) {
    {
        // Changes read from the kernel but not taken keep the handle signalled.
        std::lock_guard guard(lock_);
        if (!changes_.empty() || lost_) return ce::WAIT_OBJECT_0;
    }
    pollfd waiting{fd_, POLLIN, 0};
    const int timeout = milliseconds == ce::INFINITE ? -1 : static_cast<int>(std::min<ce::DWORD>(milliseconds, 0x7FFFFFFF));
    for (;;) {
        const int ready = poll(&waiting, 1, timeout);
        if (ready > 0) return ce::WAIT_OBJECT_0;
        if (ready == 0) return ce::WAIT_TIMEOUT;
        if (errno != EINTR) {
            ce::SetLastError(ce::ERROR_INVALID_HANDLE);
            return ce::WAIT_FAILED;
        }
    }
}

void FolderWatch::rearm() {
    std::lock_guard guard(lock_);
    alignas(inotify_event) char events[4096];
    while (read(fd_, events, sizeof events) > 0) {
    }
    changes_.clear();
    lost_ = false;
}

void FolderWatch::collect() {
    alignas(inotify_event) char events[4096];
    for (;;) {
        const ssize_t got = read(fd_, events, sizeof events);
        if (got <= 0) return;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            queue(event->mask, event->len > 0 ? event->name : "");
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void FolderWatch::queue(std::uint32_t mask, const char* name) {
    if ((mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0 || changes_.size() >= kMostQueued) {
        lost_ = true;
        changes_.clear();
        return;
    }
    if (lost_) return;
    // A name the device cannot spell is not one of its entries (as in a folder's listing).
    const std::u16string device_name = ce::utf16_from_utf8(name);
    if (device_name.empty() || ce::utf8_from_utf16(device_name) != name) return;
    const ce::DWORD action = action_of(mask);
    // A file written piece by piece is one change until someone takes it.
    if (action == ce::FILE_ACTION_MODIFIED && !changes_.empty() && changes_.back().action == action &&
        changes_.back().name == device_name)
        return;
    changes_.push_back({action, device_name});
}

std::optional<FolderWatch::Change> FolderWatch::peek() {
    std::lock_guard guard(lock_);
    collect();
    if (changes_.empty()) return std::nullopt;
    return changes_.front();
}

void FolderWatch::pop() {
    std::lock_guard guard(lock_);
    if (!changes_.empty()) changes_.pop_front();
}

std::uint64_t FolderWatch::queued_bytes(std::uint64_t (*record_bytes)(const Change&)) {
    std::lock_guard guard(lock_);
    std::uint64_t bytes = 0;
    for (const Change& change : changes_) bytes += record_bytes(change);
    return bytes;
}

bool FolderWatch::take_lost() {
    std::lock_guard guard(lock_);
    collect();
    return std::exchange(lost_, false);
}

}  // namespace host
