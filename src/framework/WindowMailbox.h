#pragma once
// What stands behind a framework window's handle: messages posted or sent from any
// thread (or arriving from another process) become events on the window's thread; a
// sent one's answer goes back once the window has handled it.

#include <QObject>
#include <QPointer>
#include <mutex>

#include "ce/WindowProcedure.h"

class CWnd;

namespace framework {

class WindowMailbox : public ce::WindowProcedure {
public:
    WindowMailbox(QObject* receiver, CWnd* window);
    // The window is going: later messages are refused. Called on the window's thread.
    void Close();

    bool post(const ce::MSG& message, Answer answer) override;
    ce::LRESULT call(const ce::MSG& message) override;

private:
    std::mutex lock_;
    QPointer<QObject> receiver_;
    CWnd* window_;
};

}  // namespace framework
