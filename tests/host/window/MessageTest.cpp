// Posted messages between threads: thread queues, message-only windows and the
// framework-style thread object.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "ce/Messages.h"
#include "ce/Sync.h"
#include "ce/CWinThread.h"

namespace {

constexpr ce::UINT kPing = ce::WM_USER + 1;
constexpr ce::UINT kPong = ce::WM_USER + 2;
constexpr ce::DWORD kPatienceMs = 10000;

ce::HWND make_window() {
    return ce::CreateWindowExW(0, u"test", u"", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Takes the next message within the patience, or a WM_NULL when none came.
ce::MSG next_message(ce::HWND window = nullptr) {
    ce::MSG message;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (std::chrono::steady_clock::now() < until) {
        if (ce::PeekMessageW(&message, window, 0, 0, ce::PM_REMOVE)) return message;
        ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 50, ce::QS_ALLINPUT);
    }
    return ce::MSG{};
}

// Records what its loop receives.
class Recorder : public ce::CWinThread {
public:
    ~Recorder() override { StopThread(); }
    std::vector<ce::MSG> received() {
        std::lock_guard guard(lock_);
        return messages_;
    }
    // Answers each ping to the window in wParam.
protected:
    void OnThreadMessage(const ce::MSG& message) override {
        std::lock_guard guard(lock_);
        messages_.push_back(message);
        if (message.message == kPing) ce::PostMessageW(reinterpret_cast<ce::HWND>(message.wParam), kPong, 0, message.lParam);
    }

private:
    std::mutex lock_;
    std::vector<ce::MSG> messages_;
};

TEST(ThreadObject, ReceivesThreadMessagesInOrderAndAnswersAWindow) {
    const ce::HWND window = make_window();
    ASSERT_NE(window, nullptr);
    auto* thread = new Recorder;
    ASSERT_TRUE(thread->CreateThread());
    EXPECT_FALSE(thread->CreateThread()) << "a running thread is not started twice";
    EXPECT_NE(thread->ThreadId(), ce::GetCurrentThreadId());
    for (ce::LPARAM i = 1; i <= 3; ++i)
        ASSERT_TRUE(ce::PostThreadMessageW(thread->ThreadId(), kPing, reinterpret_cast<ce::WPARAM>(window), i));

    for (ce::LPARAM i = 1; i <= 3; ++i) {
        const ce::MSG answer = next_message(window);
        EXPECT_EQ(answer.message, kPong);
        EXPECT_EQ(answer.hwnd, window);
        EXPECT_EQ(answer.lParam, i);
    }
    ASSERT_EQ(thread->received().size(), 3u);
    EXPECT_EQ(thread->received()[0].hwnd, nullptr) << "a thread message has no window";

    const ce::DWORD id = thread->ThreadId();
    delete thread;
    EXPECT_FALSE(ce::PostThreadMessageW(id, kPing, 0, 0)) << "an ended thread has no queue";
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_THREAD_ID);
    ce::DestroyWindow(window);
}

TEST(ThreadMessages, AThreadThatNeverAskedForMessagesCannotBePosted) {
    EXPECT_FALSE(ce::PostThreadMessageW(0x7FFFFFF0, kPing, 0, 0));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_THREAD_ID);
}

TEST(MessageWindow, BelongsToItsThreadAndGoesWithIt) {
    ce::HWND window = nullptr;
    ce::DWORD owner = 0;
    std::thread([&] {
        window = make_window();
        owner = ce::GetCurrentThreadId();
        ce::DWORD process = 0;
        EXPECT_EQ(ce::GetWindowThreadProcessId(window, &process), owner);
        EXPECT_EQ(process, ce::GetCurrentProcessId());
    }).join();
    EXPECT_NE(owner, 0u);
    EXPECT_FALSE(ce::IsWindow(window)) << "the window ends with its thread";
    EXPECT_FALSE(ce::PostMessageW(window, kPing, 0, 0));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_WINDOW_HANDLE);
}

TEST(MessageWindow, DestroyedWindowRefusesMessagesAndChildWindowsAreNotMade) {
    const ce::HWND window = make_window();
    ASSERT_TRUE(ce::IsWindow(window));
    EXPECT_EQ(ce::CreateWindowExW(0, u"x", u"", 0, 0, 0, 0, 0, window, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_SUPPORTED);
    ASSERT_TRUE(ce::DestroyWindow(window));
    EXPECT_FALSE(ce::PostMessageW(window, kPing, 0, 0));
    EXPECT_FALSE(ce::DestroyWindow(window));
    EXPECT_FALSE(ce::PostMessageW(reinterpret_cast<ce::HWND>(0x1234), kPing, 0, 0)) << "a made-up handle";
}

TEST(MessageQueue, FiltersByWindowAndNumberAndPeeksWithoutTaking) {
    const ce::HWND first = make_window();
    const ce::HWND second = make_window();
    ASSERT_TRUE(ce::PostMessageW(first, kPing, 1, 0));
    ASSERT_TRUE(ce::PostMessageW(second, kPong, 2, 0));
    ASSERT_TRUE(ce::PostThreadMessageW(ce::GetCurrentThreadId(), kPing, 3, 0));

    ce::MSG message;
    ASSERT_TRUE(ce::PeekMessageW(&message, second, 0, 0, ce::PM_NOREMOVE));
    EXPECT_EQ(message.wParam, 2u);
    ASSERT_TRUE(ce::PeekMessageW(&message, reinterpret_cast<ce::HWND>(-1), 0, 0, ce::PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u) << "thread messages only";
    ASSERT_TRUE(ce::PeekMessageW(&message, nullptr, kPong, kPong, ce::PM_REMOVE));
    EXPECT_EQ(message.wParam, 2u) << "by number";
    ASSERT_EQ(ce::GetMessageW(&message, nullptr, 0, 0), ce::TRUE);
    EXPECT_EQ(message.hwnd, first);
    EXPECT_FALSE(ce::PeekMessageW(&message, nullptr, 0, 0, ce::PM_REMOVE));
    EXPECT_EQ(ce::GetMessageW(&message, reinterpret_cast<ce::HWND>(0x1234), 0, 0), -1) << "a bad window filter";
    ce::DestroyWindow(first);
    ce::DestroyWindow(second);
}

TEST(MessageQueue, QuitComesAfterWhatWasQueuedAndWaitingTimesOut) {
    EXPECT_EQ(ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 20, ce::QS_ALLINPUT), ce::WAIT_TIMEOUT);
    ASSERT_TRUE(ce::PostThreadMessageW(ce::GetCurrentThreadId(), kPing, 0, 0));
    ce::PostQuitMessage(7);
    EXPECT_EQ(ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 0, ce::QS_ALLINPUT), ce::WAIT_OBJECT_0);
    ce::MSG message;
    EXPECT_EQ(ce::GetMessageW(&message, nullptr, 0, 0), ce::TRUE);
    EXPECT_EQ(message.message, kPing);
    EXPECT_EQ(ce::GetMessageW(&message, nullptr, 0, 0), ce::FALSE);
    EXPECT_EQ(message.message, ce::WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
