// How soon an alarm is seen and heard: on a temporary handheld with the programs
// installed and the notification service running, 20 alarms go off one after another,
// each set just before its minute; for each, the delay from its registered second to
// the reminder coming to the foreground, and to the first buffer of its sound reaching
// the (captured) wave output. Median and worst, without beaming and with a two-signal
// macro beamed, unpaced as the tests run it and paced as a watched handheld runs it
// (where the port's settling second comes first). About a minute a pass, three passes;
// a number runs only that many of them (1: without beaming).
//   build/release/bench/kivo_alert_bench [passes]
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "BenchHandheld.h"
#include "ce/Time.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/wave/CaptureLog.h"

namespace {

using namespace std::chrono;
using namespace alert_bench;

constexpr int kAlarms = 20;

long long milliseconds_of(const ce::SYSTEMTIME& time) {
    ce::FILETIME file;
    ce::SystemTimeToFileTime(&time, &file);
    return static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32 | file.dwLowDateTime) /
                                  10000);
}

struct Delays {
    std::vector<long long> shown;
    std::vector<long long> sounding;
};

std::string two(int value) {
    char text[12];  // room for any int: the fortified build checks it
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// One alarm, three minutes after the one before: its two delays, when it went off.
bool one_alarm(int slot, bool with_beaming, Delays& delays) {
    const int at = 6 * 60 + 3 * slot;  // minutes of the day
    const std::string hour = two(at / 60), minute = two(at % 60), before = two((at - 1) % 60);
    const std::string hour_before = two((at - 1) / 60);
    if (!handheld("time set '2026-03-07 " + hour_before + ":" + before + ":58'").has_value()) return false;
    const std::string extra = with_beaming ? " --codebase Radio" : "";
    const auto added =
        handheld("alarm add " + hour + ":" + minute + " --sound '" + (handheld_root() / "ring.wav").string() + "'" + extra);
    std::smatch number;
    if (!added || !std::regex_search(*added, number, std::regex("added (-?[0-9]+)\\.kivo"))) return false;
    ce::SYSTEMTIME due = local_now();
    due.wHour = static_cast<ce::WORD>(at / 60), due.wMinute = static_cast<ce::WORD>(at % 60);
    due.wSecond = 0, due.wMilliseconds = 0;
    const std::size_t plays_before = host::CaptureLog::lines().size();
    if (!wait_for(reminder_in_front, seconds(15), microseconds(500))) return false;
    delays.shown.push_back(milliseconds_of(local_now()) - milliseconds_of(due));
    const auto until = steady_clock::now() + seconds(10);
    while (host::CaptureLog::lines().size() == plays_before && steady_clock::now() < until)
        std::this_thread::sleep_for(milliseconds(5));
    const auto lines = host::CaptureLog::lines();
    if (lines.size() > plays_before)
        if (const auto play = host::CaptureLog::parse(lines[plays_before]))
            delays.sounding.push_back(milliseconds_of(play->start) - milliseconds_of(due));
    handheld("ui click 600");
    if (!wait_for(reminder_gone, seconds(10), microseconds(500))) return false;
    return handheld("alarm remove " + number[1].str()).has_value();
}

void report(const char* what, std::vector<long long> delays) {
    if (delays.empty()) {
        std::printf("  %-34s no figures\n", what);
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("  %-34s median %5lld ms, worst %5lld ms (%zu alarms)\n", what, delays[delays.size() / 2],
                delays.back(), delays.size());
}

bool prepare() {
    std::ofstream(handheld_root() / "power.mode2") << "carrier 38000\npulse 2400\nspace 600\npulse 1200\nspace 20000\n";
    // One second of 8 kHz silence-like noise: long enough to be captured, short enough to end.
    {
        std::ofstream wav(handheld_root() / "ring.wav", std::ios::binary);
        const std::uint32_t bytes = 8000;
        const std::uint32_t header[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746d66, 16, 0x00010001, 8000, 8000,
                                        0x00080001, 0x61746164, bytes};
        wav.write(reinterpret_cast<const char*>(header), sizeof header);
        for (std::uint32_t i = 0; i < bytes; ++i) wav.put(static_cast<char>(128 + (i * 7 % 32)));
    }
    return handheld("init --profile pxa270") && handheld("install") && handheld("audio capture") &&
           handheld("ir pacing off") &&
           handheld("reg set 'HKLM\\Software\\TessaMedia\\KIVO' ComPort --sz COM3:") &&
           handheld("ir put Radio Power '" + (handheld_root() / "power.mode2").string() + "'") &&
           handheld("ir macro Radio Alarm signal:Power repeat:1 delay:200 signal:Power repeat:1") && handheld("start");
}

}  // namespace

int main(int argc, char** argv) {
    const int passes = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 3) : 3;
    if (!make_handheld()) return 1;
    bool complete = prepare();
    struct Pass {
        const char* title;
        bool beaming;
        const char* pacing;
    };
    constexpr Pass kPasses[] = {{"without beaming", false, "off"},
                                {"beaming a two-signal macro, unpaced (as the tests run)", true, "off"},
                                {"beaming a two-signal macro, paced (as on a watched handheld)", true, "on"}};
    int pass_number = 0;
    for (const Pass& pass : kPasses) {
        if (pass_number == passes) break;
        Delays delays;
        complete = complete && handheld(std::string("ir pacing ") + pass.pacing).has_value();
        for (int index = 0; complete && index < kAlarms; ++index)
            complete = one_alarm(index + pass_number * kAlarms, pass.beaming, delays);
        ++pass_number;
        std::printf("%s:\n", pass.title);
        report("registered second to reminder shown", delays.shown);
        report("registered second to first sound", delays.sounding);
    }
    remove_handheld();
    return complete ? 0 : 1;
}
