#pragma once
// Keeps the notification service running: the service runs in a child process, and a
// child that dies by a signal (a crash, a SIGKILL) is replaced by a new one, which
// starts what its predecessor left marked or recorded (cut starts, clock and zone
// events). One that ends by itself (stopped, another service runs, it cannot listen)
// ends the keeper with its exit code. Nothing here touches the handheld: the keeper
// forks before anything opens its database.

#include <functional>
#include <string>

namespace host {

class ServiceKeeper {
public:
    // `service` runs in each child; `why` says why it is a replacement (empty the first time).
    using Service = std::function<int(const std::string& why)>;

    // The first wait before a replacement, doubled after each death in a row that came
    // soon after its start, up to kLongestWaitSeconds.
    static constexpr int kFirstWaitMs = 500;
    static constexpr int kLongestWaitSeconds = 60;

    static int keep(const Service& service);
};

}  // namespace host
