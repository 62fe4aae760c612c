// Serial port state and escape functions (ce/Serial.h); CreateFileW opens the ports.

#include "ce/Serial.h"
#include "host/hw/SerialPort.h"

namespace ce {

namespace {

host::hw::SerialPort* port_of(HANDLE handle) { return host::handle_as<host::hw::SerialPort>(handle); }

bool valid(const DCB& state) {
    return state.BaudRate != 0 && state.ByteSize >= 5 && state.ByteSize <= 8 && state.Parity <= 4 && state.StopBits <= 2;
}

BOOL invalid_parameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

}  // namespace

BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) {
    auto* port = port_of(handle);
    if (port == nullptr) return FALSE;
    if (timeouts == nullptr) return invalid_parameter();
    port->timeouts() = *timeouts;
    return TRUE;
}

BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
    auto* port = port_of(handle);
    if (port == nullptr) return FALSE;
    if (timeouts == nullptr) return invalid_parameter();
    *timeouts = port->timeouts();
    return TRUE;
}

BOOL GetCommState(HANDLE handle, DCB* state) {
    auto* port = port_of(handle);
    if (port == nullptr) return FALSE;
    if (state == nullptr) return invalid_parameter();
    *state = port->state();
    return TRUE;
}

BOOL SetCommState(HANDLE handle, const DCB* state) {
    auto* port = port_of(handle);
    if (port == nullptr) return FALSE;
    if (state == nullptr || !valid(*state)) return invalid_parameter();
    port->state() = *state;
    return TRUE;
}

BOOL EscapeCommFunction(HANDLE handle, DWORD function) {
    auto* port = port_of(handle);
    if (port == nullptr) return FALSE;
    return port->escape(function) ? TRUE : invalid_parameter();
}

}  // namespace ce
