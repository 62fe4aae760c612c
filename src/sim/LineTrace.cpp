#include "sim/LineTrace.h"

#include <utility>

namespace sim {

void LineTrace::set(bool on, std::int64_t ns) {
    if (on == level_) return;
    level_ = on;
    if (!begun_ && current_.edges.empty()) current_.begin_ns = ns;
    current_.edges.push_back({ns, on});
}

void LineTrace::begin(std::int64_t ns) {
    current_ = Transmission{};
    current_.begin_ns = ns;
    begun_ = true;
}

Transmission LineTrace::end(std::int64_t ns) {
    current_.end_ns = ns;
    Transmission done = std::move(current_);
    current_ = Transmission{};
    begun_ = false;
    return done;
}

}  // namespace sim
