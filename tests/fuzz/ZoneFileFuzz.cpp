// Feeds arbitrary bytes to the zone-file reader the clock uses at every reading of local
// time, and reads any zone it accepts at instants across the calendar's whole range:
// nothing read outside the file, no overflow, a zone or nothing.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/clock/TzifFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading one byte past it is caught.
    const std::string file(reinterpret_cast<const char*>(data), size);
    const auto rules = host::TzifFile::parse(file);
    if (!rules) return 0;
    constexpr std::int64_t kCalendarEdge = 1'000'000'000'000LL;  // beyond the year 30000
    const std::int64_t instants[] = {-kCalendarEdge, -2'208'988'800, 0, 1'900'000'000, 4'102'444'800, kCalendarEdge};
    for (const std::int64_t at : instants) {
        const std::int32_t offset = rules->offset_at(at);
        if (offset == INT32_MIN) std::abort();
        rules->read(at);
    }
    return 0;
}
