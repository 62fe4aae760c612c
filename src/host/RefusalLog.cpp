#include "host/RefusalLog.h"

namespace host {

namespace {

constexpr std::chrono::seconds kSecond{1};

}  // namespace

void RefusalLog::close_second(Clock::time_point now) {
    if (counted_ > 0)
        log_.write("... and " + std::to_string(counted_) + " more refused in the same second, not written one by one");
    counted_ = 0;
    written_ = 0;
    second_ = now;
}

void RefusalLog::refuse(std::string_view line) {
    std::lock_guard guard(lock_);
    const auto now = Clock::now();
    if (now - second_ >= kSecond) close_second(now);
    if (written_ < kWholePerSecond) {
        ++written_;
        log_.write(line);
    } else {
        ++counted_;
    }
}

std::optional<std::chrono::milliseconds> RefusalLog::flush() {
    std::lock_guard guard(lock_);
    if (counted_ == 0) return std::nullopt;
    const auto now = Clock::now();
    if (now - second_ >= kSecond) {
        close_second(now);
        return std::nullopt;
    }
    return std::chrono::ceil<std::chrono::milliseconds>(second_ + kSecond - now);
}

}  // namespace host
