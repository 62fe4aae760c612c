// Top-level windows shared by the programs of a handheld: found by title from another
// process, owned by a process that can be asked for and ended, and reached by posted
// and sent messages across processes, in order.

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "StandIn.h"
#include "TempDevice.h"
#include "ce/Input.h"
#include "ce/Messages.h"
#include "ce/Process.h"
#include "ce/Sync.h"
#include "ce/Windows.h"
#include "host/Database.h"
#include "host/Device.h"
#include "host/window/MessagePort.h"

namespace {

using namespace ce;

constexpr DWORD kPatienceMs = 20000;
constexpr const char16_t* kAlert = u"\\Program Files\\KIVO\\Alert.exe";

HWND make_top_level(const char16_t* title) {
    return CreateWindowExW(0, u"test", title, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

// Takes the next message of the calling thread within the patience; WM_NULL when none came.
MSG next_message() {
    MSG message;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (std::chrono::steady_clock::now() < until) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return message;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return MSG{};
}

HWND wait_for_window(const char16_t* title) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (std::chrono::steady_clock::now() < until) {
        if (HWND window = FindWindowW(nullptr, title); window != nullptr) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

BOOL collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> all_windows() {
    std::vector<HWND> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

class TopLevelWindows : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\Alert.exe");
    }
    void TearDown() override {
        unsetenv("STANDIN_MODE");
        if (started_.hProcess != nullptr) {
            TerminateProcess(started_.hProcess, 0);
            CloseHandle(started_.hProcess);
            CloseHandle(started_.hThread);
        }
        TempDevice::TearDown();
    }
    // Starts the stand-in as Alert in `mode`.
    void start_alert(const char* mode) {
        setenv("STANDIN_MODE", mode, 1);
        ASSERT_TRUE(CreateProcessW(kAlert, u"SHOW", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started_));
    }
    std::string log_text(const std::string& name) const {
        std::ifstream file(device_root() / "log" / name);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    PROCESS_INFORMATION started_;
};

TEST_F(TopLevelWindows, AreFoundByTitleAcrossProcessesUntilTheirProcessEnds) {
    start_alert("window:KIVOAlert");
    const HWND alert = wait_for_window(u"KIVOAlert");
    ASSERT_NE(alert, nullptr);
    DWORD owner = 0;
    EXPECT_EQ(GetWindowThreadProcessId(alert, &owner), started_.dwThreadId);
    EXPECT_EQ(owner, started_.dwProcessId);
    char16_t text[64];
    EXPECT_EQ(GetWindowTextW(alert, text, 64), 9);
    EXPECT_EQ(std::u16string(text), u"KIVOAlert");
    EXPECT_TRUE(IsWindow(alert));

    // What the single-instance rule asks of a window's owner: its program file.
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, owner);
    ASSERT_NE(process, nullptr);
    char16_t program[MAX_PATH];
    DWORD size = MAX_PATH;
    ASSERT_TRUE(QueryFullProcessImageNameW(process, 0, program, &size));
    EXPECT_EQ(std::u16string(program, size), kAlert);
    CloseHandle(process);

    const HWND own = make_top_level(u"KIVO");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"KIVO"), own);
    EXPECT_EQ(FindWindowW(u"test", u"KIVO"), own);
    EXPECT_EQ(FindWindowW(u"other", u"KIVO"), nullptr) << "the class, when given, must match too";
    EXPECT_EQ(FindWindowW(nullptr, u"kivo"), nullptr) << "titles match exactly";
    EXPECT_EQ(all_windows(), (std::vector<HWND>{own, alert})) << "newest first";
    EXPECT_EQ(GetForegroundWindow(), nullptr) << "making a window does not bring it forward";
    ASSERT_TRUE(SetForegroundWindow(alert));
    EXPECT_EQ(GetForegroundWindow(), alert);
    EXPECT_EQ(all_windows(), (std::vector<HWND>{alert, own})) << "the foreground window first";

    ASSERT_TRUE(TerminateProcess(started_.hProcess, 0));
    EXPECT_EQ(FindWindowW(nullptr, u"KIVOAlert"), nullptr);
    EXPECT_FALSE(IsWindow(alert));
    EXPECT_EQ(GetForegroundWindow(), own) << "the window left comes forward when the foreground one goes";
    EXPECT_EQ(all_windows(), std::vector<HWND>{own});
    EXPECT_FALSE(PostMessageW(alert, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

    ASSERT_TRUE(DestroyWindow(own));
    EXPECT_EQ(FindWindowW(nullptr, u"KIVO"), nullptr);
}

TEST_F(TopLevelWindows, ATopMostWindowStaysInFrontOfEveryWindowThatIsNot) {
    start_alert("window:KIVOAlert");
    const HWND other = wait_for_window(u"KIVOAlert");
    ASSERT_NE(other, nullptr);
    const HWND reminder = make_top_level(u"Reminder");
    const HWND list = make_top_level(u"List");
    ASSERT_TRUE(SetForegroundWindow(list));

    EXPECT_FALSE(SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)) << "another program's";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(SetWindowPos(reminder, nullptr, 0, 0, 0, 0, 0)) << "only the top-most order is kept";
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    ASSERT_TRUE(SetWindowPos(reminder, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetForegroundWindow(), reminder) << "in front at once";

    for (const HWND later : {list, other}) {
        ASSERT_TRUE(SetForegroundWindow(later));
        EXPECT_EQ(GetForegroundWindow(), reminder);
    }
    EXPECT_EQ(all_windows(), (std::vector<HWND>{reminder, other, list}));
    ASSERT_TRUE(DestroyWindow(reminder));
    EXPECT_EQ(GetForegroundWindow(), other) << "the window brought forward last comes to the front";

    const HWND again = make_top_level(u"Reminder");
    ASSERT_TRUE(SetWindowPos(again, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    ASSERT_TRUE(SetWindowPos(again, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetForegroundWindow(), other) << "no longer top-most, it is one window among the others";
    DestroyWindow(again);
    DestroyWindow(list);
}

// Window rows (which window exists, which is in front) are written without waiting for
// the disk, since a power cut ends their programs too; every other commit of device.db,
// before and after them or holding them in its transaction, still waits.
TEST_F(TopLevelWindows, OnlyWindowRowsAreCommittedWithoutWaitingForTheDisk) {
    host::Database& database = host::Device::current().database();
    const auto sync_level = [&] {
        host::Statement query(database.handle(), "PRAGMA synchronous");
        return query.step() == SQLITE_ROW ? query.column_int(0) : -1;
    };
    constexpr int kNormal = 1, kFull = 2;
    EXPECT_EQ(sync_level(), kFull);
    {
        host::RuntimeWrite write(database);
        EXPECT_EQ(sync_level(), kNormal);
    }
    const HWND window = make_top_level(u"List");
    ASSERT_TRUE(SetForegroundWindow(window));
    EXPECT_EQ(sync_level(), kFull) << "waiting again after the window's rows";
    {
        host::Transaction transaction(database);
        ASSERT_TRUE(transaction.ok());
        ASSERT_TRUE(SetForegroundWindow(window));
        EXPECT_EQ(sync_level(), kFull) << "the transaction's own commit decides";
    }
    DestroyWindow(window);
}

TEST_F(TopLevelWindows, MessagesToAnotherProcessArriveInOrderAndSentOnesAreAnswered) {
    start_alert("window:KIVOAlert");
    const HWND alert = wait_for_window(u"KIVOAlert");
    ASSERT_NE(alert, nullptr);
    for (LPARAM i = 1; i <= 3; ++i) ASSERT_TRUE(PostMessageW(alert, WM_USER + 311, 0, i));
    // The stand-in answers a sent message with its lParam + 1.
    EXPECT_EQ(SendMessageW(alert, WM_USER + 1, 7, 41), 42);
    ASSERT_TRUE(PostMessageW(alert, WM_CLOSE, 0, 0));
    ASSERT_EQ(WaitForSingleObject(started_.hProcess, kPatienceMs), WAIT_OBJECT_0);

    const auto lines = testing_support::stand_in_lines(device_root());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "started program=\\Program Files\\KIVO\\Alert.exe command=SHOW show=1 device=" +
                             device_root().string(),
                         "window KIVOAlert",
                         "message 0x0537 wParam=0 lParam=1",
                         "message 0x0537 wParam=0 lParam=2",
                         "message 0x0537 wParam=0 lParam=3",
                         "message 0x0401 wParam=7 lParam=41",
                         "message 0x0010 wParam=0 lParam=0",
                     }));
    EXPECT_EQ(SendMessageW(alert, WM_USER, 0, 0), 0) << "its process has ended";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(TopLevelWindows, MessagesFromAnotherProcessReachTheOwningThreadsQueue) {
    const HWND own = make_top_level(u"KIVOAlert");
    ASSERT_NE(own, nullptr);
    // The stand-in posts 0x0537 with lParam 1, 2, 3 to the window, then sends 0x0401
    // with lParam 41 and writes the answer.
    start_alert("post:KIVOAlert");
    for (LPARAM i = 1; i <= 3; ++i) {
        const MSG posted = next_message();
        EXPECT_EQ(posted.hwnd, own);
        EXPECT_EQ(posted.message, WM_USER + 311);
        EXPECT_EQ(posted.lParam, i);
        EXPECT_FALSE(InSendMessage());
    }
    const MSG sent = next_message();
    EXPECT_EQ(sent.message, WM_USER + 1);
    EXPECT_EQ(sent.lParam, 41);
    ASSERT_TRUE(InSendMessage());
    ASSERT_TRUE(ReplyMessage(1234));
    EXPECT_FALSE(ReplyMessage(5)) << "answered once";
    ASSERT_EQ(WaitForSingleObject(started_.hProcess, kPatienceMs), WAIT_OBJECT_0);
    EXPECT_EQ(testing_support::stand_in_lines(device_root()).back(), "reply 1234");
    DestroyWindow(own);
}

TEST_F(TopLevelWindows, AMalformedDatagramIsLoggedAndTheNextMessageStillArrives) {
    const HWND own = make_top_level(u"KIVO");
    ASSERT_NE(own, nullptr);
    const std::string path = host::MessagePort::socket_of(getpid()).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    const char junk[] = "not a window message";
    ASSERT_GT(sendto(fd, junk, sizeof junk, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // Longer than a packet: its own size is logged, not what was read of it.
    const std::string long_junk(100, 'x');
    ASSERT_GT(sendto(fd, long_junk.data(), long_junk.size(), 0, reinterpret_cast<const sockaddr*>(&address),
                     sizeof address),
              0);
    close(fd);

    // Through the same socket, so it arrives after the junk.
    start_alert("post:KIVO");
    EXPECT_EQ(next_message().lParam, 1);
    EXPECT_NE(log_text("messages.log").find("dropped a malformed window message of 21 bytes"), std::string::npos);
    EXPECT_NE(log_text("messages.log").find("dropped a malformed window message of 100 bytes"), std::string::npos);
    DestroyWindow(own);
}

TEST_F(TopLevelWindows, AProgramEndsCleanlyWhileMessagesForAWindowItNoLongerHasKeepComing) {
    // The key-up of the key that closed a program comes while it ends: the refusal its
    // message thread then logs must not reach a handheld that exit has already closed.
    for (int round = 0; round < 10; ++round) {
        start_alert("window:KIVOAlert");
        const HWND alert = wait_for_window(u"KIVOAlert");
        ASSERT_NE(alert, nullptr);
        const auto owner = static_cast<pid_t>(started_.dwProcessId);
        const auto gone = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(alert) + 0x100);
        std::atomic<bool> ended = false;
        std::thread late_keys([&] {
            while (!ended) host::MessagePort::instance().post(owner, MSG{gone, WM_KEYUP, 0x1B, 0, 0});
        });
        ASSERT_TRUE(PostMessageW(alert, WM_CLOSE, 0, 0));
        const DWORD waited = WaitForSingleObject(started_.hProcess, kPatienceMs);
        ended = true;
        late_keys.join();
        ASSERT_EQ(waited, WAIT_OBJECT_0);
        DWORD code = STILL_ACTIVE;
        ASSERT_TRUE(GetExitCodeProcess(started_.hProcess, &code));
        ASSERT_EQ(code, 0u) << "round " << round << " (128 + a signal's number: it crashed)";
        CloseHandle(started_.hProcess);
        CloseHandle(started_.hThread);
        started_ = {};
    }
}

TEST_F(TopLevelWindows, SendingToAWindowOfTheCallingThreadIsRefused) {
    const HWND own = make_top_level(u"KIVO");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(SendMessageW(own, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    DestroyWindow(own);
}

}  // namespace
