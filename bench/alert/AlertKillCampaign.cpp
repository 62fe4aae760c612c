// Alert killed in its first milliseconds, over and over: on a temporary handheld with the
// programs installed and the notification service running, a daily alarm goes off and
// Alert (started with "SHOW") is killed 0, 1, 2, 5, 10, 20 or 50 ms after its exec, or at
// a random moment of its first 400 ms. After each kill the alarm must still be owed: the
// wake program registered at most its replay interval ahead, the alarm still the pending
// one. The clock is then run to that registration, which starts Alert again for the next
// kill, so every kill also proves the one before it left the alarm able to ring. At the
// end the alarm is let ring and dismissed, and the next alarm must be the one registered.
//   build/release/bench/kivo_alert_kill_campaign [kills]
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "BenchHandheld.h"
#include "ProgramStartWatch.h"
#include "alarms/AlertKey.h"
#include "ce/Time.h"
#include "ce/Windows.h"
#include "host/clock/LocalTime.h"

namespace {

using namespace std::chrono;
using namespace alert_bench;

constexpr int kReplayMinutes = 5;

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 210;
    if (!make_handheld()) return 1;
    const bool ready = handheld("init") && handheld("install") && handheld("audio null") &&
                       handheld("time set '2026-03-07 06:00:00'") && handheld("alarm add 23:00 --days daily") &&
                       handheld("alarm add 08:00 --days daily --replay " + std::to_string(kReplayMinutes)) &&
                       handheld("start") && handheld("time set '2026-03-07 07:59:57'");
    if (!ready) return 1;
    const std::u16string alarm = AlertKey::Pending().value_or(u"");
    const auto alert = handheld_root() / "fs" / "Program Files" / "KIVO" / "Alert.exe";

    constexpr int kDelays[] = {0, 1, 2, 5, 10, 20, 50, -1};  // -1: a random moment
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> random_ms(0, 400);
    int lost = 0, missed_starts = 0;
    int by_delay[8] = {};
    for (int kill_number = 0; kill_number < kills; ++kill_number) {
        testing_support::ProgramStartWatch watch(alert, "SHOW");
        if (kill_number > 0) {
            const auto due = registered_wake();
            if (!due) break;
            run_clock_to(*due);
        }
        const auto pid = watch.wait(seconds(40));
        if (!pid) {
            ++missed_starts;
            std::fprintf(stderr, "kill %d: Alert did not start\n", kill_number);
            break;
        }
        const int slot = kill_number % 8;
        const int delay = kDelays[slot] >= 0 ? kDelays[slot] : random_ms(random);
        std::this_thread::sleep_for(milliseconds(delay));
        kill(*pid, SIGKILL);
        while (kill(*pid, 0) == 0) std::this_thread::sleep_for(microseconds(200));
        ++by_delay[slot];
        const auto due = registered_wake();
        const long long ahead = due ? seconds_of(*due) - seconds_of(local_now()) : -1;
        const bool owed = due && ahead > 0 && ahead <= kReplayMinutes * 60 && AlertKey::Pending() == alarm;
        if (!owed) {
            ++lost;
            std::fprintf(stderr, "kill %d (%d ms): not owed (registered %s, %lld s ahead)\n", kill_number, delay,
                         due ? host::time_text(*due).c_str() : "nothing", ahead);
            break;
        }
    }
    // The last kill's alarm rings, is answered, and the next alarm is registered.
    bool answered = false;
    if (lost == 0 && missed_starts == 0) {
        if (const auto due = registered_wake()) run_clock_to(*due);
        answered = wait_for(reminder_in_front, seconds(40), milliseconds(20)) && handheld("ui click 600") &&
                   wait_for(reminder_gone, seconds(20), milliseconds(20));
    }
    const auto next = registered_wake();
    const bool next_registered = next && next->wHour == 23 && next->wMinute == 0;
    std::printf("Alert killed in its first milliseconds: %d kills\n", kills);
    std::printf("  by moment after its exec: 0 ms %d, 1 ms %d, 2 ms %d, 5 ms %d, 10 ms %d, 20 ms %d, 50 ms %d, "
                "random 0-400 ms %d\n",
                by_delay[0], by_delay[1], by_delay[2], by_delay[3], by_delay[4], by_delay[5], by_delay[6], by_delay[7]);
    std::printf("  alarms lost: %d; Alert not started again: %d\n", lost, missed_starts);
    std::printf("  last firing rang and was dismissed: %s; next alarm (23:00) registered after: %s\n",
                answered ? "yes" : "NO", next_registered ? "yes" : "NO");
    remove_handheld();
    return lost == 0 && missed_starts == 0 && answered && next_registered ? 0 : 1;
}
