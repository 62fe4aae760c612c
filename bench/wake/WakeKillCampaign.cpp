// kivowake killed at random instants of its life, round after round: on a temporary
// handheld with the programs installed (kivowake in its test build, which stops itself at
// entry when started for a due alarm) and the notification service running, a daily alarm
// falls due each round; its kivowake is killed while stopped at entry (one round in
// eight) or at a random moment of the 40 ms after it is let go on, which covers its whole
// life (it may have ended by then). Whatever kivowake comes after is let run. The alarm
// must then ring (the reminder in front, its sound played) exactly once, and once it is
// dismissed the next day's alarm must be the one registered.
//   build/release/bench/kivo_wake_kill_campaign [rounds]
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "BenchHandheld.h"
#include "ProgramStartWatch.h"
#include "host/clock/LocalTime.h"
#include "host/wave/CaptureLog.h"

namespace {

using namespace std::chrono;
using namespace alert_bench;

bool stopped(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const auto name_end = text.rfind(") ");
    return name_end != std::string::npos && text.size() > name_end + 2 && text[name_end + 2] == 'T';
}

bool wait_stopped(pid_t pid) {
    const auto until = steady_clock::now() + seconds(10);
    while (!stopped(pid)) {
        if (steady_clock::now() > until || kill(pid, 0) != 0) return false;
        std::this_thread::sleep_for(microseconds(100));
    }
    return true;
}

std::size_t plays() { return host::CaptureLog::lines().size(); }

void write_sound(const std::filesystem::path& path) {
    // 0.1 s of 8 kHz, 8-bit mono silence: the capture back-end logs each play.
    const std::uint32_t data = 800;
    std::ofstream out(path, std::ios::binary);
    const auto word = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    out << "RIFF";
    word(36 + data, 4);
    out << "WAVEfmt ";
    word(16, 4), word(1, 2), word(1, 2), word(8000, 4), word(8000, 4), word(1, 2), word(8, 2);
    out << "data";
    word(data, 4);
    for (std::uint32_t i = 0; i < data; ++i) out.put(static_cast<char>(0x80));
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    if (!make_handheld()) return 1;
    const auto sound = handheld_root() / "ring.wav";
    write_sound(sound);
    const auto wake = handheld_root() / "fs" / "Windows" / "kivowake.exe";
    const bool ready = handheld("init") && handheld("install") && handheld("audio capture") &&
                       handheld("ir pacing off") && handheld("time set '2026-03-07 06:00:00'") &&
                       handheld("alarm add 08:00 --days daily --replay 5 --sound '" + sound.string() + "'") &&
                       std::filesystem::copy_file(KIVO_WAKE_STOPPING, wake,
                                                  std::filesystem::copy_options::overwrite_existing) &&
                       handheld("start");
    if (!ready) return 1;

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> random_us(0, 40'000);
    int lost = 0, twice = 0, killed_stopped = 0, killed_running = 0, ended_before_kill = 0, restarts = 0;
    long long late_total_ms = 0, late_worst_ms = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto due = registered_wake();
        if (!due || due->wHour != 8 || due->wMinute != 0) {
            std::fprintf(stderr, "round %d: the alarm is not registered\n", round);
            ++lost;
            break;
        }
        const std::size_t rung = plays();
        auto watch = std::make_unique<testing_support::ProgramStartWatch>(wake, "AppRunAtTime");
        run_clock_to(*due);
        const auto pid = watch->wait(seconds(40));
        if (!pid || !wait_stopped(*pid)) {
            std::fprintf(stderr, "round %d: kivowake did not start\n", round);
            ++lost;
            break;
        }
        watch = std::make_unique<testing_support::ProgramStartWatch>(wake, "AppRunAtTime");
        const auto killed_at = steady_clock::now();
        if (round % 8 == 0) {
            ++killed_stopped;
        } else {
            kill(*pid, SIGCONT);
            std::this_thread::sleep_for(microseconds(random_us(random)));
            ++killed_running;
        }
        if (kill(*pid, SIGKILL) != 0) ++ended_before_kill;
        // Let whatever kivowake comes after run, and run the clock to a safety re-run
        // when that is what is left, until the alarm rings.
        const auto until = steady_clock::now() + seconds(90);
        while (!reminder_in_front() && steady_clock::now() < until) {
            if (const auto next = watch->wait(milliseconds(20))) {
                wait_stopped(*next);
                kill(*next, SIGCONT);
                ++restarts;
                watch = std::make_unique<testing_support::ProgramStartWatch>(wake, "AppRunAtTime");
            }
            // Only the safety re-run (30 s on), never the alarm's repeat once it has fired.
            const auto left = registered_wake();
            const long long ahead = left ? seconds_of(*left) - seconds_of(local_now()) : 0;
            if (ahead > 3 && ahead <= 31 && !reminder_in_front()) run_clock_to(*left);
        }
        if (!reminder_in_front()) {
            std::fprintf(stderr, "round %d: the alarm did not ring\n", round);
            ++lost;
            break;
        }
        const long long late = duration_cast<milliseconds>(steady_clock::now() - killed_at).count();
        late_total_ms += late, late_worst_ms = std::max(late_worst_ms, late);
        const auto played = steady_clock::now() + seconds(20);
        while (plays() < rung + 1 && steady_clock::now() < played) std::this_thread::sleep_for(milliseconds(5));
        if (!handheld("ui click 600") || !wait_for(reminder_gone, seconds(20), milliseconds(5))) {
            std::fprintf(stderr, "round %d: the reminder was not dismissed\n", round);
            ++lost;
            break;
        }
        if (plays() != rung + 1) {
            std::fprintf(stderr, "round %d: rang %zu times\n", round, plays() - rung);
            ++twice;
        }
        if ((round + 1) % 25 == 0)
            std::fprintf(stderr, "%d rounds: %d lost, %d rung twice, %d restarts\n", round + 1, lost, twice, restarts);
    }
    const auto next = registered_wake();
    std::printf("kivowake killed at random instants of its life: %d rounds\n", rounds);
    std::printf("  killed stopped at entry %d, at 0-40 ms after it went on %d (ended before the kill: %d)\n",
                killed_stopped, killed_running, ended_before_kill);
    std::printf("  kivowake started again by the service: %d\n", restarts);
    std::printf("  alarms lost: %d; rung twice: %d\n", lost, twice);
    if (killed_stopped + killed_running > 0)
        std::printf("  from the kill to the reminder in front: mean %lld ms, worst %lld ms\n",
                    late_total_ms / (killed_stopped + killed_running), late_worst_ms);
    std::printf("  next alarm registered after the last round: %s\n",
                next ? host::time_text(*next).c_str() : "NOTHING");
    remove_handheld();
    return lost == 0 && twice == 0 ? 0 : 1;
}
