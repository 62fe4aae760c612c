#include "alarms/RefireTime.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;

}  // namespace

RefireTime RefireTime::After(const ce::SYSTEMTIME& now, int minutes) {
    int of_day = (now.wHour * 60 + now.wMinute + minutes) % kMinutesPerDay;
    if (of_day < 0) of_day += kMinutesPerDay;
    if (!Pending(of_day / 60, of_day % 60)) of_day = 1;
    return RefireTime(of_day / 60, of_day % 60);
}
