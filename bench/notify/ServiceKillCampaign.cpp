// The notification service killed at the moment it starts a registered program: 1000
// times on a temporary handheld, a program is registered for the next second of the
// handheld's clock and the service is killed (SIGKILL) between 0 and 8 ms after that
// second, then started again. Counts the registrations whose program never ran (lost,
// which must be 0) and those whose program ran twice (a start the kill cut after the
// spawn and the next service made again). About five minutes.
//   build/release/bench/kivo_service_kill_campaign [kills]
#include <signal.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "FreshHandheld.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ServiceLink.h"

namespace {

using namespace std::chrono;

constexpr const char16_t* kProgram = u"\\Bench\\stamp.exe";

long stamps(const std::filesystem::path& root) {
    std::ifstream in(root / "log" / "stamps.log");
    long lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

// Moves the handheld's clock on so that its next second begins `lead` from now.
void bring_second_near(milliseconds lead) {
    auto& database = host::Device::current().database();
    const auto settings = host::clock_settings();
    const auto device = floor<milliseconds>(host::device_utc_now());
    const auto into_second = device - floor<seconds>(device);
    const auto shift = (milliseconds(1000) - lead - into_second + milliseconds(1000)) % milliseconds(1000);
    database.set_setting(host::kClockOffsetSetting, std::to_string(settings.offset_ms + shift.count()));
}

void sleep_until_host(system_clock::time_point at) {
    const auto since = at.time_since_epoch();
    timespec when{static_cast<time_t>(duration_cast<seconds>(since).count()),
                  static_cast<long>(duration_cast<nanoseconds>(since % seconds(1)).count())};
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &when, nullptr) != 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::filesystem::path root = bench::select_fresh_handheld("bench");
    if (root.empty()) return 1;
    setenv("KIVO_DEVICE", root.c_str(), 1);
    std::filesystem::create_directories(root / "fs" / "Bench");
    std::filesystem::create_directories(root / "log");
    std::filesystem::copy_file(KIVO_BENCH_STAMP, root / "fs" / "Bench" / "stamp.exe");
    host::ServiceLink link(host::Device::current());
    std::string failure;
    if (!link.start(KIVO_NOTIFY_SERVICE, &failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> after_us(0, 8000);
    int lost = 0, twice = 0, unfinished_runs = 0;
    for (int kill_number = 0; kill_number < kills; ++kill_number) {
        bring_second_near(milliseconds(120));
        host::ServiceLink::changed();
        const auto second = ceil<seconds>(host::device_utc_now());
        const ce::SYSTEMTIME local = host::device_local_time(second);
        const long before = stamps(root);
        ce::CeRunAppAtTime(kProgram, &local);
        sleep_until_host(host::host_time_of(second) + microseconds(after_us(random)));
        if (const auto service = link.running()) kill(*service, SIGKILL);
        while (link.running()) std::this_thread::sleep_for(microseconds(200));
        if (!link.start(KIVO_NOTIFY_SERVICE, &failure)) {
            std::fprintf(stderr, "restart: %s\n", failure.c_str());
            return 1;
        }
        // The program runs once; a second run, if any, comes right after.
        const auto until = steady_clock::now() + seconds(5);
        while (stamps(root) == before && steady_clock::now() < until) std::this_thread::sleep_for(milliseconds(1));
        std::this_thread::sleep_for(milliseconds(30));
        const long ran = stamps(root) - before;
        if (ran == 0) ++lost;
        if (ran > 1) ++twice;
        if (ran > 2) ++unfinished_runs;
    }
    link.stop(&failure);
    long again = 0;
    {
        std::ifstream log(root / "log" / "notify.log");
        for (std::string line; std::getline(log, line);)
            if (line.find("again, the service ended while starting it") != std::string::npos) ++again;
    }
    std::printf("service killed 0-8 ms after the due second: %d kills\n", kills);
    std::printf("  registrations lost (program never ran): %d\n", lost);
    std::printf("  programs started twice: %d (%.2f %%)\n", twice, 100.0 * twice / kills);
    std::printf("  starts made again by the next service: %ld\n", again);
    if (unfinished_runs > 0) std::printf("  programs started three times or more: %d\n", unfinished_runs);
    bench::remove_handheld(root);
    return lost == 0 ? 0 : 1;
}
