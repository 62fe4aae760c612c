#include "alert/StopBudget.h"

namespace {

constexpr std::int64_t kBudgetSeconds = StopBudget::kMinutes * 60;

}  // namespace

void StopBudget::Restart(std::int64_t now) {
    spent_ = 0;
    last_check_ = now;
}

bool StopBudget::Spend(std::int64_t now) {
    if (now > last_check_) spent_ += now - last_check_;
    last_check_ = now;
    return spent_ <= kBudgetSeconds;
}
