// Feeds arbitrary bytes to the signal record decoder, as a codebase file can hold them:
// every part number gives 0, -1 or 1061 without reading outside the record, and a
// signal it decodes encodes again into a record that decodes to the same signal.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "irlib/card/signal_record.h"

namespace {

using platform::card::signal_data;
using platform::card::signal_record;

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A private copy, so a read past the record is a read past the heap block.
    const std::vector<std::uint8_t> record(data, data + size);
    for (const int part : {0, 1, 2, 3, 65535}) {
        signal_data signal;
        const int result = signal_record::decode(record, part, signal);
        require(result == 0 || result == platform::card::kNotSignal || result == platform::card::kBadSignal);
        if (result != 0) continue;
        require(!signal.durations.empty());
        for (std::size_t i = 1; i < signal.durations.size(); ++i)
            require((signal.durations[i - 1] >= 0) != (signal.durations[i] >= 0));

        std::vector<std::uint8_t> again;
        if (signal_record::encode("X", signal, again) != 0) continue;  // more than 255 entries
        signal_data back;
        require(signal_record::decode(again, 0, back) == 0);
        require(back.durations == signal.durations && back.repeat_start == signal.repeat_start &&
                back.carrier_period == signal.carrier_period);

        std::vector<std::uint8_t> extended;
        if (signal_record::add_part(again, signal, extended) != 0) continue;
        require(signal_record::decode(extended, 1, back) == 0 && back.durations == signal.durations);
    }
    return 0;
}
