#pragma once
// A thread with its own message loop, in the manner of the application framework's
// thread object: made with new, started with CreateThread, fed with posted thread
// messages, deleted by its owner.

#include <memory>

#include "ce/Messages.h"

namespace ce {

class CWinThread {
public:
    CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    // Stops the loop and waits for the thread. A subclass whose handlers use its own
    // members calls StopThread() first in its destructor.
    virtual ~CWinThread();

    // Starts the thread; returns once its queue exists, so messages posted right after
    // are not lost. FALSE when it is already running or cannot be started.
    BOOL CreateThread();
    // The thread's identifier for PostThreadMessageW; 0 before CreateThread.
    DWORD ThreadId() const;
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

protected:
    // Run on the new thread before the loop; FALSE ends the thread at once.
    virtual BOOL InitInstance() { return TRUE; }
    // Each message the loop takes (thread messages and those of the thread's windows).
    virtual void OnThreadMessage(const MSG& message) = 0;
    // Run on the thread after the loop ended.
    virtual int ExitInstance() { return 0; }
    // Ends the loop (WM_QUIT) and joins the thread; safe to call twice, not from the thread.
    void StopThread();

private:
    struct Runner;
    std::unique_ptr<Runner> runner_;
};

}  // namespace ce
