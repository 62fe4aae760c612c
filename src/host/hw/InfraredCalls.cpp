// Framing of infrared transmissions (ce/Infrared.h).

#include "ce/Infrared.h"
#include "host/hw/Machine.h"

namespace ce {

void BeginInfraredTrace() {
    std::lock_guard guard(host::hw::hardware_lock());
    host::hw::Machine::current().begin_trace();
}

void EndInfraredTrace() {
    std::lock_guard guard(host::hw::hardware_lock());
    host::hw::Machine::current().end_trace();
}

}  // namespace ce
