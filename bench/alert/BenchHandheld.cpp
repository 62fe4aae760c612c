#include "BenchHandheld.h"

#include <stdio.h>
#include <stdlib.h>

#include <cstdio>
#include <thread>

#include "FreshHandheld.h"
#include "ce/Time.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/NotificationStore.h"

namespace alert_bench {

namespace {

std::filesystem::path g_root;

}  // namespace

bool make_handheld() {
    g_root = bench::select_fresh_handheld("bench");
    if (g_root.empty()) return false;
    setenv("KIVO_DEVICE", g_root.c_str(), 1);
    return true;
}

void remove_handheld() {
    handheld("stop");
    bench::remove_handheld(g_root);
}

const std::filesystem::path& handheld_root() { return g_root; }

std::optional<std::string> handheld(const std::string& words) {
    const std::string command = std::string(KIVO_HANDHELD) + " --device '" + g_root.string() + "' " + words + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pclose(pipe) != 0) {
        std::fprintf(stderr, "handheld %s: %s", words.c_str(), out.c_str());
        return std::nullopt;
    }
    return out;
}

ce::SYSTEMTIME local_now() {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    return now;
}

bool wait_for(bool (*condition)(), std::chrono::seconds patience, std::chrono::microseconds poll) {
    const auto until = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(poll);
    }
    return true;
}

bool reminder_in_front() {
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");
    return reminder != nullptr && reminder == ce::GetForegroundWindow();
}

bool reminder_gone() { return ce::FindWindowW(nullptr, u"KIVOAlert") == nullptr; }

std::optional<ce::SYSTEMTIME> registered_wake() {
    for (const auto& row : host::NotificationStore(host::Device::current().database()).list())
        if (row.is_timed() && row.application == u"\\Windows\\kivowake.exe") return row.time;
    return std::nullopt;
}

long long seconds_of(const ce::SYSTEMTIME& local) {
    ce::FILETIME file{};
    ce::SystemTimeToFileTime(&local, &file);
    return static_cast<long long>((std::uint64_t{file.dwHighDateTime} << 32 | file.dwLowDateTime) / 10'000'000);
}

void run_clock_to(const ce::SYSTEMTIME& at) {
    const long long target = seconds_of(at) - 2;
    const long long now = seconds_of(local_now());
    if (target <= now) return;
    ce::FILETIME file{};
    const auto ticks = static_cast<std::uint64_t>(target) * 10'000'000;
    file.dwLowDateTime = static_cast<ce::DWORD>(ticks);
    file.dwHighDateTime = static_cast<ce::DWORD>(ticks >> 32);
    ce::SYSTEMTIME before;
    ce::FileTimeToSystemTime(&file, &before);
    host::set_local_time(before);
}

}  // namespace alert_bench
