#include "host/window/SentReply.h"

namespace host {

ce::LRESULT LocalReply::wait() {
    std::unique_lock guard(lock_);
    answered_.wait(guard, [&] { return result_.has_value(); });
    return *result_;
}

void LocalReply::deliver(ce::LRESULT result) {
    {
        std::lock_guard guard(lock_);
        result_ = result;
    }
    answered_.notify_all();
}

}  // namespace host
