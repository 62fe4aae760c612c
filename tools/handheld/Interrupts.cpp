#include "Interrupts.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace handheld {

void Interrupts::Forward(std::function<void()> handler) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([handler = std::move(handler), signals] {
        int received = 0;
        while (sigwait(&signals, &received) == 0) handler();
    }).detach();
}

}  // namespace handheld
