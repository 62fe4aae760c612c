#pragma once
// The answer a SendMessageW caller waits for. The thread that takes a sent message from
// its queue answers it with ReplyMessage, or with 0 as soon as it comes back to its
// queue without having done so (its handling is then over); a sent message that nobody
// takes, because its thread or window has gone, is answered with 0.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "ce/Messages.h"

namespace host {

class SentReply {
public:
    SentReply() = default;
    SentReply(const SentReply&) = delete;
    SentReply& operator=(const SentReply&) = delete;
    virtual ~SentReply() = default;

    // The first answer counts; later ones are ignored.
    void answer(ce::LRESULT result) {
        if (!answered_.exchange(true)) deliver(result);
    }

protected:
    virtual void deliver(ce::LRESULT result) = 0;

private:
    std::atomic<bool> answered_{false};
};

// The answer to a caller in the same process, which waits for it here.
class LocalReply : public SentReply {
public:
    ce::LRESULT wait();

protected:
    void deliver(ce::LRESULT result) override;

private:
    std::mutex lock_;
    std::condition_variable answered_;
    std::optional<ce::LRESULT> result_;
};

}  // namespace host
