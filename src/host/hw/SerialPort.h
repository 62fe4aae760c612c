#pragma once
// An open serial port of the handheld. The port's lock file in run/ports/ is held with
// an exclusive lock for as long as the handle is open, so a port belongs to one handle
// of one process at a time. SETIR and CLRIR switch the UART model behind the port.

#include <string>

#include "ce/Serial.h"
#include "host/HandleTable.h"
#include "host/LockFile.h"
#include "sim/Profile.h"

namespace host::hw {

class SerialPort : public ce::KernelObject {
public:
    // "COM" + digit(s) + ':', in any case.
    static bool names_port(ce::LPCWSTR path);
    // Opens the port of the handheld's profile with that name; INVALID_HANDLE_VALUE
    // with ERROR_FILE_NOT_FOUND (no such port) or ERROR_ACCESS_DENIED (in use).
    static ce::HANDLE open(ce::LPCWSTR path);

    SerialPort(LockFile lock, const sim::ComPort& port);

    const sim::ComPort& port() const { return port_; }
    ce::DCB& state() { return state_; }
    ce::COMMTIMEOUTS& timeouts() { return timeouts_; }
    bool escape(ce::DWORD function);
    bool infrared() const { return infrared_; }

private:
    LockFile lock_;
    const sim::ComPort& port_;
    ce::DCB state_;
    ce::COMMTIMEOUTS timeouts_;
    bool infrared_ = false;
};

}  // namespace host::hw
