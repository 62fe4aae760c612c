#include "forms/SignalTestPasses.h"

#include <cstdlib>

#include "forms/ItemData.h"

int SignalTestPasses::For(int repeat_mode, int duration_ms, const std::vector<std::int32_t>& durations,
                          std::uint16_t repeat_start) {
    if (repeat_mode == 1) return 1;
    if (repeat_mode != ItemData::kRepeatForDuration) return 3;
    std::int64_t total = 0;
    std::int64_t frame = 0;
    for (std::size_t index = 0; index < durations.size(); ++index) {
        const std::int64_t length = std::llabs(static_cast<long long>(durations[index]));
        total += length;
        if (index >= repeat_start) frame += length;
    }
    std::int64_t remaining = std::int64_t{duration_ms} * 1000 - total;
    int passes = 1;
    // A signal without a repeat frame has nothing to repeat: its one pass is all there is.
    while (passes < kMostPasses && remaining > 0 && frame > 0) {
        ++passes;
        remaining -= frame;
    }
    return passes;
}
