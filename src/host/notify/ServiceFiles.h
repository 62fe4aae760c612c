#pragma once
// Where the handheld's notification service keeps its runtime files: run/notify/ holds
// the lock that makes it single per handheld, its keeper's and the socket it is woken
// through; what
// it started goes to log/notify.log (kLogName).

#include <sys/socket.h>
#include <sys/un.h>

#include <filesystem>

namespace host {

class Device;

class ServiceFiles {
public:
    explicit ServiceFiles(const Device& device);
    // The files of the handheld at `root`, for a process that has not opened it (the keeper).
    static ServiceFiles of(const std::filesystem::path& root);

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path lock() const { return dir_ / "lock"; }
    std::filesystem::path socket() const { return dir_ / "socket"; }
    // Held by the service's keeper, with its process id or kUnitKeeper (ServiceKeeper).
    std::filesystem::path keeper() const { return dir_ / "keeper"; }
    // Which clock the running service's timer is on (SuspendReport).
    std::filesystem::path timer_clock() const { return dir_ / "wake"; }
    // The socket's address; false when its path is too long for one.
    bool socket_address(sockaddr_un* address, socklen_t* length) const;

    // Device setting naming the service's executable, which a registration starts on
    // demand; a handheld without it (a test's) gets no service unless one is started.
    static constexpr const char* kProgramSetting = "notify.service";
    static constexpr const char* kLogName = "notify";

private:
    ServiceFiles() = default;

    std::filesystem::path dir_;
};

}  // namespace host
