#pragma once
// A call to something outside the handheld that may hang (a desktop's bus, a sound
// server, a device node), on the way from an alarm's second to its sound: made on a
// thread of its own and waited for at most a deadline. A call that has not ended by then
// is left to end on its thread; `left_over` then gets its result (a handle to close), so
// that nothing leaks once it does.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace host {

class BoundedCall {
public:
    // The call's result, nothing when it did not end within `deadline`.
    template <typename Result>
    static std::optional<Result> run(std::chrono::milliseconds deadline, std::function<Result()> call,
                                     std::function<void(Result)> left_over = {}) {
        struct Shared {
            std::mutex guard;
            std::condition_variable ended;
            std::optional<Result> result;
            bool given_up = false;
            std::function<void(Result)> left_over;
        };
        auto shared = std::make_shared<Shared>();
        shared->left_over = std::move(left_over);
        std::thread([shared, call = std::move(call)] {
            Result result = call();
            std::unique_lock lock(shared->guard);
            if (!shared->given_up) {
                shared->result = std::move(result);
                shared->ended.notify_one();
            } else if (shared->left_over) {
                lock.unlock();
                shared->left_over(std::move(result));
            }
        }).detach();
        std::unique_lock lock(shared->guard);
        if (shared->ended.wait_for(lock, deadline, [&] { return shared->result.has_value(); }))
            return std::move(shared->result);
        shared->given_up = true;
        return std::nullopt;
    }
};

}  // namespace host
