#pragma once
// How the rest of the handheld reaches its notification service: wakes it when the
// notification database or the clock changed, raises the clock and time-zone events,
// starts it (on demand, from the program the handheld's settings name) and stops it.

#include <filesystem>
#include <optional>
#include <string>

#include "ce/Types.h"
#include "host/notify/ServiceDatagram.h"
#include "host/notify/ServiceFiles.h"

namespace host {

class Device;

class ServiceLink {
public:
    explicit ServiceLink(Device& device);

    // False when no service listens, or (Wait::no) its queue is full: it is awake then.
    enum class Wait { yes, no };
    bool send(const ServiceDatagram& message, Wait wait = Wait::yes) const;
    // The process id of the service running for this handheld, if one does.
    std::optional<int> running() const;
    // What keeps the service (starts it again should it end): the keeper's process id, or
    // ServiceKeeper::kUnitKeeper; nothing when no keeper runs.
    std::optional<std::string> keeper() const;
    // What the running service cannot do ("could not write device.db since ..."), if anything.
    std::optional<std::string> trouble() const;
    // Starts `program` as this handheld's service unless one runs, and waits until it
    // listens. `program` becomes the one started on demand from now on.
    bool start(const std::filesystem::path& program, std::string* failure) const;
    // Asks the service to stop and waits until it has ended; true also when none ran.
    bool stop(std::string* failure) const;
    // Records `event` for the service to start its programs (see_to).
    bool raise(ce::LONG event, std::string* failure) const;
    // Sees to it that a recorded `event` is raised: starts the service when none listens
    // and some program is registered for it.
    bool see_to(ce::LONG event, std::string* failure) const;

    // A registration was made: the service works out its next time, and is started when
    // it is not running (the service then reads the database itself).
    static void registered();
    // A registration was removed or the clock or zone was set: a running service works
    // its next time out again; none is started for this. Without waiting for a full queue.
    static void changed();

private:
    // Starts the program the settings name (none: *failure says so); does not wait.
    bool start_on_demand(std::string* failure) const;
    bool wait_until(bool listening, std::string* failure) const;

    Device& device_;
    ServiceFiles files_;
};

}  // namespace host
