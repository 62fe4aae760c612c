#pragma once
// One process of the host, told apart from any later process that reuses its id by the
// moment it started (in clock ticks since boot, as /proc gives it).

#include <sys/types.h>

#include <cstdint>
#include <optional>

namespace host {

struct ProcessIdentity {
    pid_t pid = 0;
    std::uint64_t started = 0;

    // The running process with that id; nothing when there is none or it has ended
    // (a process that ended and was not yet reaped counts as ended).
    static std::optional<ProcessIdentity> of(pid_t pid);
    static ProcessIdentity self();

    // Still the same process, still running.
    bool alive() const;

    bool operator==(const ProcessIdentity&) const = default;
};

}  // namespace host
