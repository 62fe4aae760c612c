#include "alert/StopBudget.h"

namespace {

constexpr ce::DWORD kBudgetMs = StopBudget::kMinutes * 60 * 1000;

}  // namespace

void StopBudget::Restart(ce::DWORD now_ms) { started_ms_ = now_ms; }

// Unsigned difference: right across the tick count's wrap after 49 days too.
bool StopBudget::Spend(ce::DWORD now_ms) const { return now_ms - started_ms_ <= kBudgetMs; }
