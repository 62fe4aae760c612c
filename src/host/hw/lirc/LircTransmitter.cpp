#include "host/hw/lirc/LircTransmitter.h"

#include <linux/lirc.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "host/hw/lirc/LircWritePlan.h"

namespace host::hw {

namespace {

std::string refused(int error) {
    return std::string("refused (") + (error == EINVAL ? "EINVAL: the device cannot" : std::strerror(error)) + ")";
}

}  // namespace

std::string LircTransmitter::set_carrier(LircDevice& transmitter, const sim::DecodedTrace& trace) {
    LircCalls& calls = transmitter.calls();
    std::uint32_t hz = trace.carrier_hz();
    std::string text;
    if (!transmitter.can(LIRC_CAN_SET_SEND_CARRIER)) {
        text = "carrier fixed by the device";
    } else if (const int set = calls.ioctl(transmitter.fd(), LIRC_SET_SEND_CARRIER, &hz); set < 0) {
        text = "carrier " + std::to_string(trace.carrier_hz()) + " Hz " + refused(-set) +
               ", sent at the device's own";
    } else {
        text = "carrier " + std::to_string(trace.carrier_hz()) + " Hz";
    }
    if (transmitter.can(LIRC_CAN_SET_SEND_DUTY_CYCLE)) {
        // 0 and 100 are reserved by the kernel.
        std::uint32_t percent = static_cast<std::uint32_t>(std::clamp<long>(std::lround(trace.duty * 100), 1, 99));
        const int set = calls.ioctl(transmitter.fd(), LIRC_SET_SEND_DUTY_CYCLE, &percent);
        text += set < 0 ? ", duty cycle " + std::to_string(percent) + " % " + refused(-set)
                        : ", duty cycle " + std::to_string(percent) + " %";
    }
    return text;
}

LircSent LircTransmitter::send(LircDevice& transmitter, const sim::DecodedTrace& trace) {
    LircSent result;
    const std::string& path = transmitter.path();
    const auto values = LircWritePlan::values_of(trace);
    if (values.empty()) {
        result.text = path + ": nothing to send";
        return result;
    }
    std::string error;
    const auto writes = LircWritePlan::split(values, error);
    if (writes.empty()) {
        result.text = path + ": not sent: " + error;
        return result;
    }
    const std::string carrier = set_carrier(transmitter, trace);
    LircCalls& calls = transmitter.calls();
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const auto& write = writes[i];
        const std::size_t bytes = write.values.size() * sizeof(std::uint32_t);
        const long put = calls.write(transmitter.fd(), write.values.data(), bytes);
        if (put != static_cast<long>(bytes)) {
            const std::string why = put < 0 ? (put == -EINVAL ? std::string("EINVAL: more than the device can send")
                                                              : transmitter.error_text(static_cast<int>(-put)))
                                            : "only " + std::to_string(put) + " of " + std::to_string(bytes) + " bytes taken";
            result.text = path + ": not sent: write " + std::to_string(i + 1) + " of " + std::to_string(writes.size()) +
                          " failed (" + why + ")" + (i > 0 ? ", the writes before it went out" : "");
            return result;
        }
        calls.sleep_ns(std::int64_t{write.space_after_us} * 1000);
    }
    result.sent = true;
    result.text = path + ": sent " + std::to_string(values.size()) + " values in " + std::to_string(writes.size()) +
                  (writes.size() == 1 ? " write, " : " writes, ") + carrier;
    return result;
}

}  // namespace host::hw
