#include "host/notify/ServiceKeeper.h"

#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace host {

namespace {

using namespace std::chrono;

// A child that ran this long was no crash at start: the waits begin again.
constexpr seconds kSettled{60};

volatile sig_atomic_t g_child = 0;
volatile sig_atomic_t g_asked_to_end = 0;

// Asked to end: the child (the service) ends in order, and the keeper with it.
void pass_on(int signal) {
    g_asked_to_end = 1;
    if (g_child > 0) kill(g_child, signal);
}

void pass_on_end_requests(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace

LockFile ServiceKeeper::hold(const std::filesystem::path& lock, const std::string& keeper) {
    // Not waited for: a keeper already holding it keeps a service, and this one's child
    // will find that service and end.
    LockFile held(lock, LockFile::Wait::no);
    // Should it not be written, `status` names no keeper; the keeping goes on.
    if (held.locked() && ftruncate(held.fd(), 0) == 0)
        [[maybe_unused]] const auto written = pwrite(held.fd(), keeper.data(), keeper.size(), 0);
    return held;
}

int ServiceKeeper::keep(const std::filesystem::path& lock, const Service& service) {
    const LockFile held = hold(lock, std::to_string(getpid()));
    pass_on_end_requests(pass_on);
    std::string why;
    milliseconds wait{kFirstWaitMs};
    for (;;) {
        if (g_asked_to_end) return 0;
        int ends[2];
        // The child reads end-of-file on ends[0] once nobody holds ends[1]: the keeper's end.
        if (pipe2(ends, O_CLOEXEC) != 0) ends[0] = ends[1] = -1;
        const auto started = steady_clock::now();
        const pid_t child = fork();
        if (child < 0) return service(why, -1);  // no child to be had: run unkept
        if (child == 0) {
            pass_on_end_requests(SIG_DFL);
            if (ends[1] >= 0) close(ends[1]);
            // Closed, not unlocked: the lock is the keeper's, and goes when the keeper does.
            if (held.fd() >= 0) close(held.fd());
            _exit(service(why, ends[0]));
        }
        g_child = child;
        if (g_asked_to_end) kill(child, SIGTERM);  // asked between the fork and now
        if (ends[0] >= 0) close(ends[0]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        g_child = 0;
        if (ends[1] >= 0) close(ends[1]);
        if (!WIFSIGNALED(status) || g_asked_to_end) return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
        why = "the notification service before it ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
              strsignal(WTERMSIG(status)) + ")";
        if (steady_clock::now() - started >= kSettled) wait = milliseconds(kFirstWaitMs);
        std::this_thread::sleep_for(wait);
        wait = std::min<milliseconds>(wait * 2, seconds(kLongestWaitSeconds));
    }
}

}  // namespace host
