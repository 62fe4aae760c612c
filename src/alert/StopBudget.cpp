#include "alert/StopBudget.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;

int minutes_of_day(const ce::SYSTEMTIME& time) { return time.wHour * 60 + time.wMinute; }

}  // namespace

void StopBudget::Restart(const ce::SYSTEMTIME& now) {
    left_ = kMinutes;
    last_check_ = minutes_of_day(now);
}

bool StopBudget::Spend(const ce::SYSTEMTIME& now) {
    if (last_check_ > 0) {
        int current = minutes_of_day(now);
        if (current < last_check_) current += kMinutesPerDay;
        left_ -= current - last_check_;
    }
    if (left_ < 0) return false;
    last_check_ = minutes_of_day(now);
    return true;
}
