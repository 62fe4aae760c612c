#pragma once
// A window message travelling the Qt event loop to the window it was posted or sent to.
// Stylus and key messages have their own event type, so queued input can be discarded
// apart from every other message. A sent message's sender is answered once: with the
// window's result, or with 0 if the message never gets handled (the window went first).
// A posted one counts as waiting (WaitingPosts) until its window takes it or it is discarded.

#include <QEvent>

#include <memory>

#include "ce/WindowProcedure.h"
#include "framework/WaitingPosts.h"

namespace framework {

class MessageEvent : public QEvent {
public:
    static QEvent::Type MessageType();
    static QEvent::Type InputType();
    static bool IsInput(ce::UINT message);

    MessageEvent(const ce::MSG& message, ce::WindowProcedure::Answer answer,
                 std::shared_ptr<WaitingPosts> waiting = nullptr)
        : QEvent(IsInput(message.message) ? InputType() : MessageType()),
          message_(message),
          answer_(std::move(answer)),
          waiting_(std::move(waiting)) {}
    ~MessageEvent() override {
        Taken();
        Answer(0);
    }
    MessageEvent(const MessageEvent&) = delete;
    MessageEvent& operator=(const MessageEvent&) = delete;

    const ce::MSG& message() const { return message_; }
    void Answer(ce::LRESULT result) {
        if (answer_) std::exchange(answer_, nullptr)(result);
    }
    // The window takes it: it waits no more, and another like it may be posted.
    void Taken() {
        if (waiting_ != nullptr) std::exchange(waiting_, nullptr)->left(message_);
    }

private:
    ce::MSG message_;
    ce::WindowProcedure::Answer answer_;
    std::shared_ptr<WaitingPosts> waiting_;
};

}  // namespace framework
