#include "BenchHandheld.h"

#include <stdio.h>
#include <stdlib.h>

#include <cstdio>
#include <thread>

#include "FreshHandheld.h"
#include "ce/Time.h"
#include "ce/Windows.h"

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

}  // namespace alert_bench
