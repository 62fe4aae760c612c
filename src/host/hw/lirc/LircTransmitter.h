#pragma once
// Sending one transmission through a LIRC device: the carrier the trace decoded set
// with LIRC_SET_SEND_CARRIER and its duty cycle with LIRC_SET_SEND_DUTY_CYCLE where the
// device can (a device that refuses the carrier, EINVAL, sends at its own, and the log
// says so), then the writes of LircWritePlan, each blocking in the kernel until sent.

#include <string>

#include "host/hw/lirc/LircDevice.h"
#include "sim/TraceDecoder.h"

namespace host::hw {

struct LircSent {
    bool sent = false;
    std::string text;  // the line the log keeps with the transmission
};

class LircTransmitter {
public:
    static LircSent send(LircDevice& transmitter, const sim::DecodedTrace& trace);

private:
    static std::string set_carrier(LircDevice& transmitter, const sim::DecodedTrace& trace);
};

}  // namespace host::hw
