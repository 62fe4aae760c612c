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
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ServiceDatagram.h"
#include "host/notify/SuspendReport.h"
#include "host/notify/DetachedProcess.h"
#include "host/shell/ProgramPath.h"

namespace host {

namespace {

using namespace std::chrono;

constexpr std::size_t kLongestMessage = 64;
// How long a stopping service waits for the programs it started to end, so that their
// registrations are settled rather than started again by the next service.
constexpr std::chrono::milliseconds kStopPatience{2000};
constexpr std::size_t kShownBytes = 40;
// What a stopped service leaves in its lock file: a successor waiting for it ends too.
constexpr std::string_view kStopped = "stopped";
constexpr std::size_t kLockFileBytes = 512;

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

// This service's own executable, which a successor and a new database are given.
std::optional<std::filesystem::path> own_program(std::string* failure) {
    std::error_code error;
    auto own = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return own;
    *failure = error.message();
    return std::nullopt;
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

NotificationService::NotificationService(Device& device, ProgramStarter& starter, ClockSteps& clock_steps, Keeping keeping)
    : device_(device),
      files_(device),
      log_(ServiceFiles::kLogName),
      refusals_(ServiceFiles::kLogName),
      store_(device.database()),
      runner_(store_, starter, log_),
      events_(store_, runner_),
      computer_(log_),
      clock_steps_(clock_steps),
      zone_rules_(log_),
      reserve_(device.reserve(), log_),
      keeping_(keeping) {}

NotificationService::~NotificationService() {
    for (int* fd : {&socket_fd_, &signal_fd_, &inotify_fd_, &keeping_.keeper_fd}) close_fd(*fd);
    lock_ = LockFile();  // last: whoever waits for the service to end waits for this
}

bool NotificationService::succeed() {
    lock_ = LockFile(files_.lock(), LockFile::Wait::until_free);
    char text[16] = {};
    struct stat status;
    return lock_.locked() && pread(lock_.fd(), text, sizeof text - 1, 0) >= 0 && std::string_view(text) != kStopped &&
           fstat(lock_.fd(), &status) == 0 && status.st_nlink > 0;
}

bool NotificationService::take_lock() {
    if (!keeping_.successor) lock_ = LockFile(files_.lock(), LockFile::Wait::no);
    if (!lock_.locked()) return false;
    // Room for a line on trouble (show_trouble), taken now, while there is space.
    std::string pid = std::to_string(getpid());
    pid.resize(kLockFileBytes, ' ');
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
    if (keeping_.successor && !succeed()) return 0;
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
    if (device_.rebuilt()) remake_registrations();
    runner_.resume_cut_starts();
    computer_.zone_may_have_changed();
    for (;;) {
        reserve_.check();
        runner_.write_back();
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
                                    {zone_rules_.fd(), POLLIN, 0},
                                    {keeping_.keeper_fd, POLLIN, 0}};
        for (const int program : runner_.program_fds()) waiting.push_back({program, POLLIN, 0});
        for (const int program : events_.fds()) waiting.push_back({program, POLLIN, 0});
        // Counted refusals are written once their second is over, also when no more come.
        auto due = refusals_.flush();
        if (events_due) due = due ? std::min(*due, *events_due) : events_due;
        if (const auto write_back = runner_.write_back_due()) due = due ? std::min(*due, *write_back) : write_back;
        if (const auto look = reserve_.check_due()) due = due ? std::min(*due, *look) : look;
        show_trouble();
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
        if (waiting[7].revents != 0) on_keeper_end();
    }
    runner_.settle_before_stop(kStopPatience);
    // Whoever waits to succeed this service must not take over a stopped one.
    if (ftruncate(lock_.fd(), 0) == 0)
        [[maybe_unused]] const auto written = pwrite(lock_.fd(), kStopped.data(), kStopped.size(), 0);
    log_.write("notification service stopped");
    return 0;
}

// In the lock file, after the process id, for `handheld status`: overwriting what the
// file holds already needs no free space.
void NotificationService::show_trouble() {
    // What the service cannot write weighs more than a disk it still writes to.
    const auto& trouble = runner_.trouble() ? runner_.trouble() : reserve_.trouble();
    if (trouble == shown_trouble_) return;
    shown_trouble_ = trouble;
    const std::string text = std::to_string(getpid()) + (shown_trouble_ ? "\n" + *shown_trouble_ : "");
    const std::string padded = text + std::string(text.size() < kLockFileBytes ? kLockFileBytes - text.size() : 0, ' ');
    [[maybe_unused]] const auto written = pwrite(lock_.fd(), padded.data(), padded.size(), 0);
}

void NotificationService::remake_registrations() {
    log_.write(*device_.rebuilt());
    // The new database names no service to start on demand: this is the one.
    std::string failure;
    if (const auto own = own_program(&failure))
        device_.database().set_setting(ServiceFiles::kProgramSetting, own->string());
    // The reminder asked to UPDATE reschedules from the alarm files and ends; it needs
    // nothing the lost registry held (the wake program would: the reminder's key).
    runner_.register_again(ProgramPath::install_place("Alert.exe"), u"UPDATE");
}

void NotificationService::on_keeper_end() {
    close_fd(keeping_.keeper_fd);  // poll skips a negative fd
    std::string failure;
    const auto own = own_program(&failure);
    if (own && DetachedProcess::start(*own, {"KIVO_DEVICE=" + std::filesystem::absolute(device_.root()).string(),
                                             std::string(kSuccessorVariable) + "=1"},
                                      &failure)) {
        log_.write("the notification service's keeper ended; a new keeper was started, whose service takes over "
                   "should this one end");
    } else {
        log_.write("the notification service's keeper ended, and no new one could be started (" + failure +
                   "): nothing starts the service again should it end");
    }
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
