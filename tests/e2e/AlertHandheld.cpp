#include "AlertHandheld.h"

#include <fstream>
#include <regex>
#include <thread>

#include "WavFile.h"
#include "alarms/CAlarmDB.h"
#include "ce/Process.h"
#include "ce/Text.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"

namespace e2e {

namespace {

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

}  // namespace

void AlertHandheld::SetUp() {
    HandheldDeviceTest::SetUp();
    ok({"init", "--profile", "pxa270"});
    ok({"install", "--from", KIVO_PACKAGE});
    ok({"audio", "capture"});
    ok({"ir", "pacing", "off"});
    // The profile's infrared port, as the port form would choose it.
    ok({"reg", "set", "HKLM\\Software\\TessaMedia\\KIVO", "ComPort", "--sz", "COM3:"});
    ok({"start"});
}

void AlertHandheld::TearDown() {
    end_reminder();
    handheld({"stop"});
    HandheldDeviceTest::TearDown();
}

bool AlertHandheld::eventually(const std::function<bool()>& condition, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

void AlertHandheld::set_clock(const std::string& time) { ok({"time", "set", time}); }

std::u16string AlertHandheld::add_alarm(const std::string& time, const std::vector<std::string>& words) {
    std::vector<std::string> arguments = {"alarm", "add", time};
    arguments.insert(arguments.end(), words.begin(), words.end());
    const std::string out = ok(arguments);
    std::smatch match;
    EXPECT_TRUE(std::regex_search(out, match, std::regex("added (-?[0-9]+)\\.kivo"))) << out;
    return kAlarms + ce::utf16_from_utf8(match[1].str()) + u".kivo";
}

std::u16string AlertHandheld::ring_at(const std::string& time, const std::vector<std::string>& words) {
    const int minutes = std::stoi(time.substr(0, 2)) * 60 + std::stoi(time.substr(3, 2));
    const auto clock = [](int at, const char* seconds) {
        char text[32];
        std::snprintf(text, sizeof text, "2026-03-07 %02d:%02d:%s", at / 60, at % 60, seconds);
        return std::string(text);
    };
    set_clock(clock(minutes - 15, "00"));
    const std::u16string alarm = add_alarm(time, words);
    set_clock(clock(minutes - 1, "58"));
    return alarm;
}

void AlertHandheld::add_radio_codebase() {
    const auto signal = device_root() / "power.mode2";
    std::ofstream(signal) << "carrier 38000\npulse 2400\nspace 600\npulse 1200\nspace 20000\n";
    ok({"ir", "put", "Radio", "Power", signal.string()});
    ok({"ir", "macro", "Radio", "Alarm", "signal:Power", "repeat:1", "delay:200", "signal:Power", "repeat:1"});
}

std::string AlertHandheld::write_sound(int milliseconds, const std::string& name) {
    testing_support::WavSpec spec;
    spec.data = testing_support::pattern_bytes(static_cast<std::size_t>(spec.rate) * milliseconds / 1000);
    const auto path = device_root() / (name + ".wav");
    const auto bytes = testing_support::wav_bytes(spec);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

void AlertHandheld::run_clock_to(const std::string& time) {
    auto before = host::time_from_text(time);
    ASSERT_TRUE(before.has_value()) << time;
    before->wSecond = static_cast<ce::WORD>(before->wSecond >= 2 ? before->wSecond - 2 : 0);
    ASSERT_TRUE(host::set_local_time(*before));
}

long long AlertHandheld::seconds_between(const std::string& from, const std::string& to) {
    const auto ticks = [](const std::string& text) {
        ce::FILETIME file{};
        if (const auto time = host::time_from_text(text)) ce::SystemTimeToFileTime(&*time, &file);
        return static_cast<long long>(std::uint64_t{file.dwHighDateTime} << 32 | file.dwLowDateTime);
    };
    return (ticks(to) - ticks(from)) / 10'000'000;
}

std::string AlertHandheld::local_now() {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    return host::time_text(now);
}

bool AlertHandheld::reminder_shown() {
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");
    return reminder != nullptr && reminder == ce::GetForegroundWindow();
}

bool AlertHandheld::reminder_gone() { return ce::FindWindowW(nullptr, u"KIVOAlert") == nullptr; }

std::string AlertHandheld::reminder_controls() { return handheld({"ui", "dump"}).out; }

std::vector<host::CaptureEntry> AlertHandheld::plays() const {
    std::vector<host::CaptureEntry> entries;
    for (const auto& line : host::CaptureLog::lines())
        if (const auto entry = host::CaptureLog::parse(line)) entries.push_back(*entry);
    return entries;
}

int AlertHandheld::infrared_sends() {
    const std::string log = handheld({"ir", "log"}).out;
    int sends = 0;
    for (std::size_t at = log.find("# send "); at != std::string::npos; at = log.find("# send ", at + 1)) ++sends;
    return sends;
}

std::string AlertHandheld::refire_of(const std::u16string& alarm) {
    CAlarmDB file;
    if (file.Open(alarm) != CAlarmDB::kOk) return "unreadable";
    int hour = 0, minute = 0, second = 0;
    const bool present = file.GetRefireTime(hour, minute, second) == CAlarmDB::kOk;
    file.Close();
    if (!present) return "";
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

std::string AlertHandheld::registered_time() {
    for (const auto& row : host::NotificationStore(host::Device::current().database()).list())
        if (row.is_timed() && row.application == kWake) return host::time_text(row.time);
    return "";
}

// A reminder a failed test left open must not outlive its handheld.
void AlertHandheld::end_reminder() {
    for (int tries = 0; tries < 3; ++tries) {
        const ce::HWND window = ce::FindWindowW(nullptr, u"KIVOAlert");
        if (window == nullptr) return;
        ce::DWORD process = 0;
        ce::GetWindowThreadProcessId(window, &process);
        const ce::HANDLE handle = ce::OpenProcess(0, ce::FALSE, process);
        if (handle == nullptr) return;
        ce::TerminateProcess(handle, 1);
        ce::CloseHandle(handle);
        eventually(reminder_gone, 5);
    }
}

}  // namespace e2e
