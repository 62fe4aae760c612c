// Windows of the framework as the system's code uses them: timers by id, messages posted
// and sent from other threads, stylus input and its discarding, the stylus state seen
// from a busy window thread, scripted message boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "ScreenDevice.h"
#include "ce/Input.h"
#include "framework/CWnd.h"
#include "framework/InputDispatcher.h"
#include "framework/MessageBox.h"
#include "framework/WindowMessages.h"
#include "host/Device.h"
#include "host/hw/Stylus.h"

namespace {

using namespace framework;

class RecordingWindow : public CWnd {
public:
    std::vector<ce::MSG> messages;  // private messages, in arrival order
    std::map<ce::UINT_PTR, int> ticks;
    std::vector<CPoint> presses;
    std::vector<ce::WPARAM> keys;
    std::function<void()> on_press;

    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override {
        if (message >= ce::WM_USER && message < 0xBF00) {
            messages.push_back({nullptr, message, wParam, lParam, 0});
            return static_cast<ce::LRESULT>(wParam) + 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    bool PreTranslateMessage(ce::MSG* message) override {
        if (message->message == ce::WM_KEYDOWN) keys.push_back(message->wParam);
        return false;
    }

protected:
    void OnTimer(ce::UINT_PTR id) override { ++ticks[id]; }
    void OnLButtonDown(ce::UINT /*flags*/, CPoint point) override {
        presses.push_back(point);
        if (on_press) on_press();
    }
};

class WindowTest : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        ASSERT_TRUE(window.Create(nullptr, {}, 0, u"Recorder"));
        window.ShowWindow(true);
    }
    void TearDown() override {
        window.DestroyWindow();
        ScreenDevice::TearDown();
    }
    RecordingWindow window;
};

TEST_F(WindowTest, TimerFiresByIdUntilKilled) {
    window.SetTimer(7, 5);
    window.SetTimer(8, 5);
    ASSERT_TRUE(RunUntil([&] { return window.ticks[7] >= 2; }));
    EXPECT_TRUE(window.KillTimer(7));
    const int ticks_when_killed = window.ticks[7];
    const int other_ticks = window.ticks[8];
    ASSERT_TRUE(RunUntil([&] { return window.ticks[8] >= other_ticks + 3; }));
    EXPECT_EQ(window.ticks[7], ticks_when_killed);
    EXPECT_FALSE(window.KillTimer(7));
    EXPECT_EQ(window.SetTimer(0, 5), 0u) << "timer id 0 is not a timer";
}

TEST_F(WindowTest, MessagesFromAnotherThreadArriveInOrderWithTheirNumbers) {
    const ce::HWND handle = window.GetSafeHwnd();
    std::atomic<ce::LRESULT> answer{0};
    std::thread sender([&] {
        ce::PostMessageW(handle, 0x0537, 0, 1);
        ce::PostMessageW(handle, 0x0465, 0xFFFF, -3);
        answer = ce::SendMessageW(handle, 0x04CB, 41, 0);
    });
    ASSERT_TRUE(RunUntil([&] { return window.messages.size() == 3; }));
    sender.join();
    ASSERT_EQ(window.messages.size(), 3u);
    EXPECT_EQ(window.messages[0].message, 0x0537u);
    EXPECT_EQ(window.messages[0].lParam, 1);
    EXPECT_EQ(window.messages[1].message, 0x0465u);
    EXPECT_EQ(window.messages[1].wParam, 0xFFFFu);
    EXPECT_EQ(window.messages[1].lParam, -3);
    EXPECT_EQ(window.messages[2].message, 0x04CBu);
    EXPECT_EQ(answer.load(), 42) << "a sent message returns the window's answer";
}

TEST_F(WindowTest, MessagesFromAnotherProgramArriveWithTheirNumbers) {
    const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(window.GetSafeHwnd()));
    testing_support::ChildProcess poster(MESSAGE_SENDER, {"post", handle, "0x0537", "0", "1"});
    ASSERT_TRUE(RunUntil([&] { return window.messages.size() == 1; }));
    EXPECT_EQ(poster.wait(), 0);
    EXPECT_EQ(window.messages[0].message, 0x0537u);
    EXPECT_EQ(window.messages[0].wParam, 0u);
    EXPECT_EQ(window.messages[0].lParam, 1);

    // A sent message: the other program waits for the window's answer.
    testing_support::ChildProcess sender(MESSAGE_SENDER, {"send", handle, "0x0465", "99", "-7"});
    ASSERT_TRUE(RunUntil([&] { return window.messages.size() == 2; }));
    EXPECT_EQ(sender.read_line(), "100");
    EXPECT_EQ(window.messages[1].lParam, -7);
}

TEST_F(WindowTest, MessagesToADestroyedWindowAreRefused) {
    const ce::HWND handle = window.GetSafeHwnd();
    window.DestroyWindow();
    EXPECT_EQ(ce::PostMessageW(handle, ce::WM_USER, 0, 0), ce::FALSE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTest, StylusAndKeysPostedAsMessagesReachTheHandlers) {
    window.PostMessage(ce::WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    window.PostMessage(ce::WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    window.PostMessage(ce::WM_KEYDOWN, 0x0D, 0);
    ASSERT_TRUE(RunUntil([&] { return !window.presses.empty() && !window.keys.empty(); }));
    EXPECT_EQ(window.presses.front(), (CPoint{30, 40}));
    EXPECT_EQ(window.keys.front(), 0x0Du);
}

TEST_F(WindowTest, DiscardingQueuedInputKeepsEveryOtherMessage) {
    window.PostMessage(ce::WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    window.PostMessage(ce::WM_USER + 5, 1, 2);
    window.PostMessage(ce::WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    window.PostMessage(ce::WM_KEYDOWN, 0x0D, 0);
    InputDispatcher::DiscardQueuedInput();
    ASSERT_TRUE(RunUntil([&] { return !window.messages.empty(); }));
    RunQueued();
    EXPECT_TRUE(window.presses.empty());
    EXPECT_TRUE(window.keys.empty());
    EXPECT_EQ(window.messages.front().message, ce::WM_USER + 5);
}

// Messages posted while the window's thread is away from its queue: a message the window
// coalesces waits once per wParam and lParam, the others up to a bound that refuses the
// rest; each one taken makes room again, and the stylus still gets through.
TEST_F(WindowTest, AFloodOfPostedMessagesIsCoalescedAndBoundedAndTheTapStillArrives) {
    constexpr ce::UINT kRefire = 0x0537;
    constexpr ce::UINT kOther = ce::WM_USER + 7;
    window.CoalescePosted(kRefire);
    const ce::HWND handle = window.GetSafeHwnd();
    for (int posted = 0; posted < 5000; ++posted) ASSERT_TRUE(ce::PostMessageW(handle, kRefire, 0, 0));
    ASSERT_TRUE(ce::PostMessageW(handle, kRefire, 0, 1)) << "another lParam is another re-fire";
    window.PostMessage(ce::WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    window.PostMessage(ce::WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    int accepted = 0;
    for (int wParam = 0; wParam < 3000; ++wParam) {
        if (ce::PostMessageW(handle, kOther, wParam, 0)) {
            ++accepted;
            continue;
        }
        EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_ENOUGH_QUOTA);
    }
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 3000) << "the queue is bounded";

    ASSERT_TRUE(RunUntil([&] { return !window.presses.empty(); }));
    RunQueued();
    const auto count = [&](ce::UINT message, ce::LPARAM lParam) {
        return std::count_if(window.messages.begin(), window.messages.end(),
                             [&](const ce::MSG& m) { return m.message == message && m.lParam == lParam; });
    };
    EXPECT_EQ(count(kRefire, 0), 1);
    EXPECT_EQ(count(kRefire, 1), 1);
    EXPECT_EQ(count(kOther, 0), accepted) << "every message accepted arrives";
    // Taken, each made room again: the same flood is accepted as before.
    window.messages.clear();
    ASSERT_TRUE(ce::PostMessageW(handle, kRefire, 0, 0));
    for (int wParam = 0; wParam < accepted; ++wParam) ASSERT_TRUE(ce::PostMessageW(handle, kOther, wParam, 0));
    RunQueued();
    EXPECT_EQ(count(kRefire, 0), 1);
    EXPECT_EQ(count(kOther, 0), accepted);
}

TEST_F(WindowTest, StylusHeldIsSeenWhileTheWindowThreadIsBusy) {
    bool down_at_press = false;
    bool released_while_busy = false;
    // The handler keeps the window thread busy (as a blocking infrared send would) until
    // the stylus comes up; it can only see that through the shared key state.
    window.on_press = [&] {
        down_at_press = ce::GetAsyncKeyState(0x01) < 0;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < limit)
            if (ce::GetAsyncKeyState(0x01) >= 0) {
                released_while_busy = true;
                break;
            }
    };
    const ce::HWND handle = window.GetSafeHwnd();
    const auto run_dir = host::Device::current().run_dir();
    std::thread stylus([&] { host::hw::Stylus(run_dir).hold(handle, 12, 34, std::chrono::milliseconds(300)); });
    ASSERT_TRUE(RunUntil([&] { return !window.presses.empty(); }));
    stylus.join();
    EXPECT_TRUE(down_at_press);
    EXPECT_TRUE(released_while_busy);
    EXPECT_EQ(window.presses.front(), (CPoint{12, 34}));
}

TEST(MessageBoxTest, ScriptAnswersInTurnAndRecordsEveryBox) {
    MessageBoxScript script;
    script.Answer(IDNO);
    EXPECT_EQ(MessageBox(nullptr, u"Delete it?", u"KIVO", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox(nullptr, u"Cannot open the port", u"KIVO", MB_OK | MB_ICONERROR), IDOK)
        << "with no answer left, a box gets its first button";
    EXPECT_EQ(MessageBox(nullptr, u"Again?", u"KIVO", MB_YESNOCANCEL), IDYES);
    ASSERT_EQ(script.Shown().size(), 3u);
    EXPECT_EQ(script.Shown()[0].text, u"Delete it?");
    EXPECT_EQ(script.Shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(script.Shown()[1].type & 0xF0, MB_ICONERROR);
    EXPECT_EQ(script.Shown()[1].answer, IDOK);
}

}  // namespace
