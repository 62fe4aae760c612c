#pragma once
// Log lines for refusals that a flood can repeat without end (bad datagrams, answers a
// sender does not take): the first few of each second are written whole, the others
// only counted, and their count is written once that second is over. A log is for a
// person to read; a flood must neither fill the disk nor bury what came before it.

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "host/DeviceLog.h"

namespace host {

class RefusalLog {
public:
    static constexpr int kWholePerSecond = 3;

    explicit RefusalLog(std::string name) : log_(std::move(name)) {}

    // Writes `line`, or only counts it when this second has had its whole lines.
    void refuse(std::string_view line);
    // Writes the count of a second that is over. While refusals are counted in a second
    // still running: how long until it is over, for the caller to call again then.
    std::optional<std::chrono::milliseconds> flush();

private:
    using Clock = std::chrono::steady_clock;
    void close_second(Clock::time_point now);

    DeviceLog log_;
    std::mutex lock_;
    Clock::time_point second_;
    int written_ = 0;
    long counted_ = 0;
};

}  // namespace host
