#include "host/notify/ReserveWatch.h"

#include <algorithm>

#include "ce/Time.h"
#include "host/DiskReserve.h"
#include "host/clock/LocalTime.h"

namespace host {

void ReserveWatch::check() {
    const auto now = std::chrono::steady_clock::now();
    if (trouble_ && now < next_check_) return;
    next_check_ = now + kCheckEvery;
    if (DiskReserve::keep(reserve_)) {
        if (trouble_) log_.write(*trouble_ + "; the disk has room again and the reserve is kept anew");
        trouble_.reset();
        return;
    }
    if (trouble_) return;
    ce::SYSTEMTIME local;
    ce::GetLocalTime(&local);
    trouble_ = "the disk holding the handheld is full since " + time_text(local) +
               ": device.db writes into the space kept in reserve for it (" + reserve_.string() + ")";
    log_.write(*trouble_);
}

std::optional<std::chrono::milliseconds> ReserveWatch::check_due() const {
    if (!trouble_) return std::nullopt;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(next_check_ - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

}  // namespace host
