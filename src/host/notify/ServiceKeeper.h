#pragma once
// Keeps the notification service running: the service runs in a child process, and a
// child that dies by a signal (a crash, a SIGKILL) is replaced by a new one, which
// starts what its predecessor left marked or recorded (cut starts, clock and zone
// events). One that ends by itself (stopped, another service runs, it cannot listen)
// ends the keeper with its exit code. A keeper asked to end (SIGTERM, SIGINT, SIGHUP)
// passes the request to its child and ends with it, so it never leaves a child behind;
// a keeper killed outright is noticed by its child (KeeperWatch), which sees to a new
// keeper. The keeper holds run/notify/keeper with its process id while it keeps a
// service. Nothing here touches the handheld's database: the keeper forks before
// anything opens it.

#include <filesystem>
#include <functional>
#include <string>

#include "host/LockFile.h"

namespace host {

class ServiceKeeper {
public:
    // `service` runs in each child; `why` says why it is a replacement (empty the first
    // time); `keeper_fd` reads end-of-file once the keeper has ended.
    using Service = std::function<int(const std::string& why, int keeper_fd)>;

    // The first wait before a replacement, doubled after each death in a row that came
    // soon after its start, up to kLongestWaitSeconds.
    static constexpr int kFirstWaitMs = 500;
    static constexpr int kLongestWaitSeconds = 60;

    // `lock`: the keeper's file (ServiceFiles::keeper()).
    static int keep(const std::filesystem::path& lock, const Service& service);
    // Holds the keeper's file for a service some other restarter keeps, saying which.
    static constexpr const char* kUnitKeeper = "systemd";
    static LockFile hold(const std::filesystem::path& lock, const std::string& keeper);
};

}  // namespace host
