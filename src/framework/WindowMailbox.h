#pragma once
// What stands behind a framework window's handle: messages posted or sent from any
// thread (or arriving from another process) become events on the window's thread; a
// sent one's answer goes back once the window has handled it. Posted messages wait in
// a bounded number (WaitingPosts), those the window coalesces once each.

#include <QObject>
#include <QPointer>
#include <memory>
#include <mutex>

#include "ce/WindowProcedure.h"
#include "framework/WaitingPosts.h"

class CWnd;

namespace framework {

class WindowMailbox : public ce::WindowProcedure {
public:
    WindowMailbox(QObject* receiver, CWnd* window);
    // The window is going: later messages are refused. Called on the window's thread.
    void Close();

    Posted post(const ce::MSG& message, Answer answer) override;
    ce::LRESULT call(const ce::MSG& message) override;
    // Posted `message`s wait once per wParam and lParam.
    void Coalesce(ce::UINT message) { waiting_->coalesce(message); }

private:
    std::shared_ptr<WaitingPosts> waiting_ = std::make_shared<WaitingPosts>();
    std::mutex lock_;
    QPointer<QObject> receiver_;
    CWnd* window_;
};

}  // namespace framework
