// kivowake as the notification database starts it, on a handheld with Alert (a stand-in)
// installed: what it starts with which word, what it posts to a running "KIVOAlert"
// window, which registrations it removes and whether it switches the display on.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "StandIn.h"
#include "TempDevice.h"
#include "WakeRegistrations.h"
#include "alarms/AlertKey.h"
#include "ce/Messages.h"
#include "ce/Notify.h"
#include "ce/Process.h"
#include "ce/Sync.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/display/DisplayPower.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"
#include "host/window/MessagePort.h"

namespace {

using namespace ce;

constexpr DWORD kPatienceMs = 20000;
constexpr const char16_t* kWake = testing_support::kWakeProgram;
constexpr const char16_t* kAlert = u"\\Program Files\\KIVO\\Alert.exe";
constexpr UINT kFlushMarker = WM_APP + 99;

enum class AlertFile { Installed, Missing };

struct WakeCase {
    const char* name;
    const char16_t* command_line;
    bool alert_running;
    AlertFile alert_file;
    const char* started;  // Alert's command line, null when Alert must not be started
    int posted_lparam;    // -1 when nothing may be posted
    bool events_removed;
    bool display_on;
};

void PrintTo(const WakeCase& row, std::ostream* out) { *out << row.name; }

class WakeProgram : public testing_support::TempDevice, public ::testing::WithParamInterface<WakeCase> {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        const std::filesystem::path wake = host_path("Windows/kivowake.exe");
        std::filesystem::create_directories(wake.parent_path());
        std::filesystem::copy_file(KIVO_WAKE_PATH, wake);
        testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\Alert.exe");
        testing_support::register_wake_program();
        ASSERT_TRUE(host::DisplayPower::set(VideoPowerOff));
    }

    // Every message that reached this thread's queue up to the marker posted through
    // the same socket after the wake program ended, so none can still be on its way.
    static std::vector<MSG> messages_received() {
        host::MessagePort::instance().post(getpid(), MSG{FindWindowW(nullptr, u"KIVOAlert"), kFlushMarker, 0, 0, 0});
        std::vector<MSG> messages;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != kFlushMarker)
            messages.push_back(message);
        return messages;
    }

    // The programs.log lines of the starts the wake program made (its own start, which
    // the test made, may be written before or after them).
    std::vector<std::string> programs_started() const {
        std::ifstream file(device_root() / "log" / "programs.log");
        std::vector<std::string> starts;
        std::string line;
        while (std::getline(file, line)) {
            const std::string entry = line.substr(line.find("] ") + 2);
            if (entry.starts_with("started ") && entry.find("kivowake.exe") == std::string::npos)
                starts.push_back(entry);
        }
        return starts;
    }

    // Seconds from now to the wake program's timed registration, on the local clock.
    static long long seconds_to_timed_registration() {
        for (const auto& row : host::NotificationStore(host::Device::current().database()).timed_rows()) {
            const auto due = host::time_from_text(row.time);
            SYSTEMTIME now;
            GetLocalTime(&now);
            FILETIME due_file, now_file;
            if (!due || !SystemTimeToFileTime(&*due, &due_file) || !SystemTimeToFileTime(&now, &now_file)) break;
            const auto ticks = [](const FILETIME& file) {
                return static_cast<long long>(std::uint64_t{file.dwHighDateTime} << 32 | file.dwLowDateTime);
            };
            return (ticks(due_file) - ticks(now_file)) / 10'000'000;
        }
        return -1;
    }

    static std::vector<LONG> wake_registrations() {
        std::vector<LONG> events;
        for (const auto& row : host::NotificationStore(host::Device::current().database()).list())
            if (row.application == kWake) events.push_back(row.event);
        return events;
    }
};

TEST_P(WakeProgram, PassesTheEventOnToAlert) {
    const WakeCase& row = GetParam();
    ASSERT_TRUE(AlertKey::SetExe(row.alert_file == AlertFile::Installed ? kAlert : u"\\Program Files\\KIVO\\Old.exe"));
    HWND alert_window = nullptr;
    if (row.alert_running) {
        alert_window = CreateWindowExW(0, u"test", u"KIVOAlert", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(alert_window, nullptr);
    }

    PROCESS_INFORMATION wake;
    ASSERT_TRUE(CreateProcessW(kWake, row.command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &wake));
    ASSERT_EQ(WaitForSingleObject(wake.hProcess, kPatienceMs), WAIT_OBJECT_0);
    DWORD code = 1;
    ASSERT_TRUE(GetExitCodeProcess(wake.hProcess, &code));
    EXPECT_EQ(code, 0u);
    CloseHandle(wake.hProcess);
    CloseHandle(wake.hThread);

    const auto started = programs_started();
    if (row.started != nullptr) {
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].substr(0, started[0].find(" as process")),
                  std::string("started \"\\Program Files\\KIVO\\Alert.exe\" \"") + row.started + "\"");
        const auto lines = testing_support::wait_for_stand_in_lines(device_root(), 1);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], std::string("started program=\\Program Files\\KIVO\\Alert.exe command=") + row.started +
                                " show=0 device=" + device_root().string());
    } else {
        EXPECT_TRUE(started.empty()) << started.front();
    }

    if (row.alert_running) {
        const auto messages = messages_received();
        if (row.posted_lparam >= 0) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].hwnd, alert_window);
            EXPECT_EQ(messages[0].message, 0x0537u);
            EXPECT_EQ(messages[0].wParam, 0u);
            EXPECT_EQ(messages[0].lParam, row.posted_lparam);
        } else {
            EXPECT_TRUE(messages.empty());
        }
        DestroyWindow(alert_window);
    }

    const std::vector<LONG> all{NOTIFICATION_EVENT_TIME_CHANGE, NOTIFICATION_EVENT_TZ_CHANGE, 0};
    EXPECT_EQ(wake_registrations(), row.events_removed ? std::vector<LONG>{0} : all)
        << "the timed registration stays in every case";
    EXPECT_EQ(host::DisplayPower::state(), row.display_on ? VideoPowerOn : VideoPowerOff);

    // An alarm due now stays owed until Alert has registered its repeat: should Alert
    // die before, the wake program runs again shortly; the clock's events change nothing.
    const bool due = row.alert_file == AlertFile::Installed && std::u16string_view(row.command_line) == u"AppRunAtTime";
    const long long wakes_in = seconds_to_timed_registration();
    if (due) {
        EXPECT_GT(wakes_in, 0);
        EXPECT_LE(wakes_in, 60) << "sooner than the shortest replay interval";
    } else {
        EXPECT_GT(wakes_in, 365LL * 24 * 3600) << "the registration far ahead is left as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, WakeProgram,
    ::testing::Values(
        WakeCase{"AtTimeStartsAlertToShowWithTheDisplayOn", u"AppRunAtTime", false, AlertFile::Installed, "SHOW", -1,
                 false, true},
        WakeCase{"AtTimePostsZeroToARunningAlert", u"AppRunAtTime", true, AlertFile::Installed, nullptr, 0, false,
                 false},
        WakeCase{"TzChangePostsOneToARunningAlert", u"AppRunAfterTzChange", true, AlertFile::Installed, nullptr, 1,
                 false, false},
        WakeCase{"TimeChangeStartsAlertToUpdate", u"AppRunAfterTimeChange", false, AlertFile::Installed, "UPDATE", -1,
                 false, false},
        WakeCase{"EmptyCommandLineStartsAlertToUpdate", u"", false, AlertFile::Installed, "UPDATE", -1, false, false},
        WakeCase{"OnlyTheExactWordsOfAClockChangePostOne", u"AppRunAfterTzChange ", true, AlertFile::Installed, nullptr,
                 0, false, false},
        WakeCase{"UnregisterRemovesOnlyTheEventRegistrations", u"unregister", true, AlertFile::Installed, nullptr, -1,
                 true, false},
        WakeCase{"AMissingAlertFileUnregisters", u"AppRunAtTime", false, AlertFile::Missing, nullptr, -1, true,
                 false}),
    [](const auto& case_row) { return std::string(case_row.param.name); });

}  // namespace
