#include "host/fs/FolderWatch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "ce/Sync.h"
#include "host/fs/HostError.h"

namespace host {

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
    alignas(inotify_event) char events[4096];
    while (read(fd_, events, sizeof events) > 0) {
    }
}

}  // namespace host
