#include "host/notify/ServiceLink.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <thread>

#include "host/Device.h"
#include "host/LockFile.h"
#include "host/notify/DetachedProcess.h"
#include "host/notify/NotificationStore.h"

namespace host {

namespace {

using namespace std::chrono;

// A service starts listening within milliseconds and stops as fast; these bounds only
// keep a caller from waiting forever for one that hangs.
constexpr milliseconds kStartLimit{5000};
constexpr milliseconds kStopLimit{5000};
constexpr milliseconds kRetry{2};

}  // namespace

ServiceLink::ServiceLink(Device& device) : device_(device), files_(device) {}

bool ServiceLink::send(const ServiceDatagram& message, Wait wait) const {
    sockaddr_un address;
    socklen_t length = 0;
    if (!files_.socket_address(&address, &length)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const std::string text = message.text();
    const int flags = MSG_NOSIGNAL | (wait == Wait::no ? MSG_DONTWAIT : 0);
    const bool sent = sendto(fd, text.data(), text.size(), flags, reinterpret_cast<const sockaddr*>(&address), length) ==
                      static_cast<ssize_t>(text.size());
    close(fd);
    return sent;
}

namespace {

constexpr std::size_t kLockTextBytes = 1024;

// What the holder of the lock file at `path` wrote in it; nothing when nobody holds it.
std::optional<std::string> held_text(const std::filesystem::path& path) {
    const auto probe = LockFile::existing(path, LockFile::Kind::shared, LockFile::Wait::no);
    if (!probe.busy()) return std::nullopt;
    char text[kLockTextBytes] = {};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = fd >= 0 ? pread(fd, text, sizeof text - 1, 0) : -1;
    if (fd >= 0) close(fd);
    return std::string(text, got > 0 ? static_cast<std::size_t>(got) : 0);
}

}  // namespace

std::optional<int> ServiceLink::running() const {
    // The service holds its lock for as long as it runs, and keeps its process id in it.
    const auto text = held_text(files_.lock());
    if (!text) return std::nullopt;
    int pid = 0;
    std::from_chars(text->data(), text->data() + text->size(), pid);
    return pid;
}

std::optional<std::string> ServiceLink::keeper() const { return held_text(files_.keeper()); }

std::optional<std::string> ServiceLink::trouble() const {
    const auto text = held_text(files_.lock());
    const auto line = text ? text->find('\n') : std::string::npos;
    if (line == std::string::npos) return std::nullopt;
    const auto end = text->find_last_not_of(' ');
    return text->substr(line + 1, end == std::string::npos || end <= line ? 0 : end - line);
}

bool ServiceLink::start_on_demand(std::string* failure) const {
    const auto program = device_.database().setting(ServiceFiles::kProgramSetting);
    if (!program || program->empty()) {
        *failure = "this handheld has no notification service (start one with `handheld start`)";
        return false;
    }
    return DetachedProcess::start(*program, {"KIVO_DEVICE=" + std::filesystem::absolute(device_.root()).string()},
                                  failure);
}

bool ServiceLink::wait_until(bool listening, std::string* failure) const {
    const auto deadline = steady_clock::now() + (listening ? kStartLimit : kStopLimit);
    while (steady_clock::now() < deadline) {
        // A "changed" is harmless to a service that hears it: it only works its next time out.
        if (listening ? send(ServiceDatagram::changed()) : !running().has_value()) return true;
        std::this_thread::sleep_for(kRetry);
    }
    *failure = listening ? "the notification service did not start (see log/notify.log)"
                         : "the notification service did not stop";
    return false;
}

bool ServiceLink::start(const std::filesystem::path& program, std::string* failure) const {
    if (!device_.database().set_setting(ServiceFiles::kProgramSetting, std::filesystem::absolute(program).string())) {
        *failure = "cannot write the handheld's settings";
        return false;
    }
    if (!running() && !start_on_demand(failure)) return false;
    return wait_until(true, failure);
}

bool ServiceLink::stop(std::string* failure) const {
    if (!running()) return true;
    send(ServiceDatagram::stop());
    return wait_until(false, failure);
}

bool ServiceLink::raise(ce::LONG event, std::string* failure) const {
    {
        Transaction transaction(device_.database());
        if (!transaction.ok() || !NotificationStore(device_.database()).record_event(event)) {
            *failure = "cannot write the notification database";
            return false;
        }
        // Before the commit, which the service waits for: see ClockChange.
        send(ServiceDatagram::changed(), Wait::no);
        if (!transaction.commit()) {
            *failure = "cannot write the notification database";
            return false;
        }
    }
    return see_to(event, failure);
}

bool ServiceLink::see_to(ce::LONG event, std::string* failure) const {
    if (running()) return true;
    // Nobody to start: no service needs starting for it.
    if (NotificationStore(device_.database()).registered_for(event).empty()) return true;
    // The service takes recorded events as it starts.
    if (!start_on_demand(failure)) return false;
    return wait_until(true, failure);
}

void ServiceLink::registered() {
    Device& device = Device::current();
    if (!device.ready()) return;
    ServiceLink link(device);
    std::string ignored;
    // One that is starting holds its lock already and reads the database once it listens.
    if (!link.send(ServiceDatagram::changed()) && !link.running()) link.start_on_demand(&ignored);
}

void ServiceLink::changed() {
    Device& device = Device::current();
    // Not waiting: the service itself calls this for a change of the computer's clock,
    // and a caller may hold the database's write lock that the service waits for.
    if (device.ready()) ServiceLink(device).send(ServiceDatagram::changed(), Wait::no);
}

}  // namespace host
