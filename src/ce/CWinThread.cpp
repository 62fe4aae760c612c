#include <future>
#include <thread>

#include "ce/CWinThread.h"

namespace ce {

struct CWinThread::Runner {
    std::thread thread;
    DWORD id = 0;
};

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() { StopThread(); }

BOOL CWinThread::CreateThread() {
    if (runner_ != nullptr) return FALSE;
    auto runner = std::make_unique<Runner>();
    std::promise<DWORD> started;
    auto started_id = started.get_future();
    runner->thread = std::thread([this, &started] {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue before anyone posts
        started.set_value(GetCurrentThreadId());
        if (InitInstance() != FALSE) {
            while (GetMessageW(&message, nullptr, 0, 0) > 0) OnThreadMessage(message);
        }
        ExitInstance();
    });
    runner->id = started_id.get();
    runner_ = std::move(runner);
    return TRUE;
}

DWORD CWinThread::ThreadId() const { return runner_ != nullptr ? runner_->id : 0; }

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (runner_ == nullptr) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return PostThreadMessageW(runner_->id, message, wParam, lParam);
}

void CWinThread::StopThread() {
    if (runner_ == nullptr || !runner_->thread.joinable()) return;
    // The queue may already be gone when InitInstance refused; joining is all that is left.
    PostThreadMessageW(runner_->id, WM_QUIT, 0, 0);
    runner_->thread.join();
}

}  // namespace ce
