#pragma once
// Learning from a real receiver: readies the LIRC device (the receive timeout where it
// can be set, carrier measurement where the device measures), throws away what it
// heard before, then waits up to `window_ns` for a remote's button and records the
// press until it ends (LircCapture) or the receiver stays quiet for the end silence.

#include <cstdint>
#include <optional>
#include <string>

#include "host/hw/lirc/LircDevice.h"
#include "sim/InfraredPress.h"

namespace host::hw {

struct LircHeard {
    std::optional<sim::InfraredPress> press;  // nothing when nothing was heard
    bool carrier_measured = false;
    std::string text;  // what happened, for the log and `handheld ir learn`
};

class LircListener {
public:
    // The timeout asked of the receiver: the shortest silence that ends a recording.
    static constexpr std::uint32_t kReceiveTimeoutUs = 200'000;
    // Quiet after the last sample that ends the press on a receiver without a timeout.
    static constexpr std::int64_t kEndQuietNs = 250'000'000;

    static LircHeard listen(LircDevice& receiver, std::int64_t window_ns);

private:
    static std::string prepare(LircDevice& receiver, bool& measuring);
    static void drain(LircDevice& receiver);
};

}  // namespace host::hw
