// How precisely the notification service starts a registered program: 20 programs
// registered one second apart, the delay from each registered second to the moment the
// started program's main ran (median and worst), beside the machine's load, which
// decides most of it. Runs on a temporary handheld for about half a minute.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FreshHandheld.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ServiceLink.h"

namespace {

using namespace std::chrono;

constexpr int kRegistrations = 20;

std::string load_average() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string program_path(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "\\Bench\\p%02d.exe", n);
    return name;
}

// The host times at which the programs' main ran, by program path.
std::map<std::string, long long> stamps(const std::filesystem::path& root) {
    std::map<std::string, long long> found;
    std::ifstream in(root / "log" / "stamps.log");
    std::string line;
    while (std::getline(in, line)) {
        const auto space = line.rfind(' ');
        if (space != std::string::npos) found[line.substr(0, space)] = std::stoll(line.substr(space + 1));
    }
    return found;
}

double milliseconds_of(nanoseconds delay) { return duration<double, std::milli>(delay).count(); }

}  // namespace

int main() {
    const std::filesystem::path root = bench::select_fresh_handheld("bench");
    if (root.empty()) return 1;
    std::filesystem::create_directories(root / "fs" / "Bench");
    for (int n = 1; n <= kRegistrations; ++n) {
        const auto target = root / "fs" / "Bench" / program_path(n).substr(7);
        std::filesystem::copy_file(KIVO_BENCH_STAMP, target);
    }
    host::ServiceLink link(host::Device::current());
    std::string failure;
    if (!link.start(KIVO_NOTIFY_SERVICE, &failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }

    const std::string load_before = load_average();
    // One registration a second, from two seconds on.
    const auto first = ceil<seconds>(host::device_utc_now()) + seconds(2);
    std::map<std::string, system_clock::time_point> due;
    for (int n = 1; n <= kRegistrations; ++n) {
        const auto at = first + seconds(n - 1);
        const ce::SYSTEMTIME local = host::device_local_time(at);
        const std::u16string program = ce::utf16_from_utf8(program_path(n));
        ce::CeRunAppAtTime(program.c_str(), &local);
        due[program_path(n)] = host::host_time_of(at);
    }
    const auto give_up = steady_clock::now() + seconds(kRegistrations + 20);
    auto started = stamps(root);
    while (started.size() < due.size() && steady_clock::now() < give_up) {
        std::this_thread::sleep_for(milliseconds(200));
        started = stamps(root);
    }
    link.stop(&failure);

    std::vector<nanoseconds> delays;
    for (const auto& [program, at] : due) {
        const auto stamp = started.find(program);
        if (stamp != started.end()) delays.push_back(nanoseconds(stamp->second) - at.time_since_epoch());
    }
    std::sort(delays.begin(), delays.end());
    std::printf("notification service: %zu of %d registered programs started\n", delays.size(), kRegistrations);
    if (!delays.empty())
        std::printf("delay from the registered second to the program's main: median %.2f ms, worst %.2f ms "
                    "(goal: within 20 ms)\n",
                    milliseconds_of(delays[delays.size() / 2]), milliseconds_of(delays.back()));
    std::printf("load average before: %s, after: %s (%u cores)\n", load_before.c_str(), load_average().c_str(),
                std::thread::hardware_concurrency());
    bench::remove_handheld(root);
    return delays.size() == due.size() ? 0 : 1;
}
