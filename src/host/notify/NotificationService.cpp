#include "host/notify/NotificationService.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ServiceDatagram.h"
#include "host/notify/SuspendReport.h"

namespace host {

namespace {

using namespace std::chrono;

constexpr std::size_t kLongestMessage = 64;
// How long a stopping service waits for the programs it started to end, so that their
// registrations are settled rather than started again by the next service.
constexpr std::chrono::milliseconds kStopPatience{2000};
constexpr std::size_t kShownBytes = 40;

// A message shown in the log as it came, but readable whatever bytes it holds.
std::string shown(const char* bytes, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length && i < kShownBytes; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        // Quotes too: the text is shown between quotes.
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '\'' && c != '"') {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    if (length > kShownBytes) text += "...";
    return text;
}

sigset_t stop_signals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    return signals;
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

NotificationService::NotificationService(Device& device, ProgramStarter& starter, ClockSteps& clock_steps)
    : device_(device),
      files_(device),
      log_(ServiceFiles::kLogName),
      refusals_(ServiceFiles::kLogName),
      store_(device.database()),
      runner_(store_, starter, log_),
      events_(store_, runner_),
      computer_(log_),
      clock_steps_(clock_steps),
      zone_rules_(log_) {}

NotificationService::~NotificationService() {
    for (int* fd : {&socket_fd_, &signal_fd_, &inotify_fd_}) close_fd(*fd);
    lock_ = LockFile();  // last: whoever waits for the service to end waits for this
}

bool NotificationService::take_lock() {
    lock_ = LockFile(files_.lock(), LockFile::Wait::no);
    if (!lock_.locked()) return false;
    const std::string pid = std::to_string(getpid());
    return ftruncate(lock_.fd(), 0) == 0 &&
           pwrite(lock_.fd(), pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

bool NotificationService::open_wake_ups() {
    sockaddr_un address;
    socklen_t length = 0;
    if (!files_.socket_address(&address, &length)) return false;
    // Only the lock holder binds here, so a socket file left behind is a dead service's.
    unlink(files_.socket().c_str());
    socket_fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket_fd_ < 0 || bind(socket_fd_, reinterpret_cast<const sockaddr*>(&address), length) != 0) return false;

    const sigset_t signals = stop_signals();
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    signal_fd_ = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    inotify_fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    return timer_.ok() && clock_steps_.fd() >= 0 && signal_fd_ >= 0 && inotify_fd_ >= 0 &&
           inotify_add_watch(inotify_fd_, files_.lock().c_str(), IN_ATTRIB | IN_DELETE_SELF) >= 0;
}

int NotificationService::run() {
    if (!take_lock()) {
        log_.write("another notification service runs for this handheld; this one ends");
        return kAnotherRuns;
    }
    if (!open_wake_ups()) {
        log_.write(std::string("the notification service cannot listen on ") + files_.socket().string() + ": " +
                  std::strerror(errno));
        return 1;
    }
    log_.write("notification service started, process " + std::to_string(getpid()) + ", waiting on " +
               (timer_.on_alarm_clock() ? "CLOCK_REALTIME_ALARM" : "CLOCK_REALTIME (" + timer_.why_not_alarm_clock() + ")"));
    SuspendReport::write(files_, timer_);
    runner_.resume_cut_starts();
    computer_.zone_may_have_changed();
    for (;;) {
        events_.take();
        // Before anything is started: a step may have jumped over what is due now.
        on_clock_step();
        zone_rules_.check();
        runner_.settle_ended(device_utc_now());
        arm(runner_.start_due(device_utc_now()));
        // After what fell due: a change of the clock that lands on an alarm must not
        // reschedule it away before the program for its time has started.
        const auto events_due = events_.raise_due();
        std::vector<pollfd> waiting{{socket_fd_, POLLIN, 0},
                                    {timer_.fd(), POLLIN, 0},
                                    {signal_fd_, POLLIN, 0},
                                    {inotify_fd_, POLLIN, 0},
                                    {zone_watch_.fd(), POLLIN, 0},
                                    {clock_steps_.fd(), POLLIN, 0},
                                    {zone_rules_.fd(), POLLIN, 0}};
        for (const int program : runner_.program_fds()) waiting.push_back({program, POLLIN, 0});
        for (const int program : events_.fds()) waiting.push_back({program, POLLIN, 0});
        // Counted refusals are written once their second is over, also when no more come.
        auto due = refusals_.flush();
        if (events_due) due = due ? std::min(*due, *events_due) : events_due;
        if (poll(waiting.data(), waiting.size(), due ? static_cast<int>(due->count()) : -1) < 0) {
            if (errno == EINTR) continue;
            log_.write(std::string("the notification service stops: ") + std::strerror(errno));
            return 1;
        }
        if (waiting[3].revents != 0 && on_inotify() == Next::stop) return 0;  // nothing left to log to
        if (waiting[2].revents != 0 && on_signal() == Next::stop) break;
        if (waiting[0].revents != 0 && receive() == Next::stop) break;
        if (waiting[1].revents != 0) timer_.read();  // the loop starts what fell due
        if (waiting[4].revents != 0 && zone_watch_.link_touched()) computer_.zone_may_have_changed();
    }
    runner_.settle_before_stop(kStopPatience);
    log_.write("notification service stopped");
    return 0;
}

void NotificationService::arm(std::optional<NotificationRunner::Instant> due) {
    // The timer runs on the host's clock; the handheld's is the host's plus its offset,
    // and a change of that offset wakes the service to arm again.
    timer_.arm(due ? std::optional(host_time_of(*due)) : std::nullopt);
}

void NotificationService::on_clock_step() {
    if (const auto step = clock_steps_.take()) computer_.clock_stepped(*step);
}

NotificationService::Next NotificationService::receive() {
    for (;;) {
        char bytes[kLongestMessage + 1];
        const ssize_t got = recv(socket_fd_, bytes, sizeof bytes, MSG_TRUNC);
        if (got < 0) return Next::go_on;  // drained (EAGAIN), or nothing readable after all
        const auto length = static_cast<std::size_t>(got);
        const auto message = length <= kLongestMessage ? ServiceDatagram::parse(std::string_view(bytes, length))
                                                       : std::nullopt;
        if (!message) {
            refusals_.refuse("ignored a wake-up message it does not understand: '" +
                             shown(bytes, std::min(length, sizeof bytes)) + "'");
            continue;
        }
        switch (message->kind) {
        case ServiceDatagram::Kind::changed:
            break;  // the loop works the next due time out again
        case ServiceDatagram::Kind::event:
            events_.heard(message->event);
            break;
        case ServiceDatagram::Kind::stop:
            return Next::stop;
        }
    }
}

NotificationService::Next NotificationService::on_signal() {
    signalfd_siginfo info;
    if (read(signal_fd_, &info, sizeof info) != sizeof info) return Next::go_on;
    log_.write("notification service ends on signal " + std::to_string(info.ssi_signo));
    return Next::stop;
}

NotificationService::Next NotificationService::on_inotify() {
    alignas(inotify_event) char events[4096];
    [[maybe_unused]] const ssize_t got = read(inotify_fd_, events, sizeof events);
    // Unlinking the lock file changes its link count. A directory still in use (this
    // service's open files are in it) reports nothing when it is removed, but removing the
    // handheld removes this file first.
    struct stat status;
    return fstat(lock_.fd(), &status) == 0 && status.st_nlink == 0 ? Next::stop : Next::go_on;
}

}  // namespace host
