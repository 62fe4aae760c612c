#include "host/notify/ComputerZoneWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

#include "host/clock/ComputerZone.h"

namespace host {

ComputerZoneWatch::ComputerZoneWatch() : link_(ComputerZone::link()) {
    fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd_ < 0) return;
    const auto folder = link_.parent_path().empty() ? std::filesystem::path(".") : link_.parent_path();
    constexpr auto kReplaced = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_CLOSE_WRITE | IN_ATTRIB;
    if (inotify_add_watch(fd_, folder.c_str(), kReplaced | IN_ONLYDIR) < 0) {
        close(fd_);
        fd_ = -1;
    }
}

ComputerZoneWatch::~ComputerZoneWatch() {
    if (fd_ >= 0) close(fd_);
}

bool ComputerZoneWatch::link_touched() {
    const std::string name = link_.filename().string();
    bool touched = false;
    alignas(inotify_event) char events[4096];
    for (;;) {
        const ssize_t got = read(fd_, events, sizeof events);
        if (got <= 0) return touched;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && std::strcmp(event->name, name.c_str()) == 0) touched = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace host
