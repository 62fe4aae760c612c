#include "host/notify/ServiceKeeper.h"

#include <string.h>
#include <sys/wait.h>
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

}  // namespace

int ServiceKeeper::keep(const Service& service) {
    std::string why;
    milliseconds wait{kFirstWaitMs};
    for (;;) {
        const auto started = steady_clock::now();
        const pid_t child = fork();
        if (child < 0) return service(why);  // no child to be had: run unkept
        if (child == 0) _exit(service(why));
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFSIGNALED(status)) return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
        why = "the notification service before it ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
              strsignal(WTERMSIG(status)) + ")";
        if (steady_clock::now() - started >= kSettled) wait = milliseconds(kFirstWaitMs);
        std::this_thread::sleep_for(wait);
        wait = std::min<milliseconds>(wait * 2, seconds(kLongestWaitSeconds));
    }
}

}  // namespace host
