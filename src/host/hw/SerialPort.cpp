#include "host/hw/SerialPort.h"

#include <algorithm>
#include <string>

#include "host/Device.h"
#include "host/hw/Machine.h"

namespace host::hw {

namespace {

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

std::u16string upper_name(ce::LPCWSTR path) {
    std::u16string name;
    for (; path != nullptr && *path != 0; ++path) name += upper(*path);
    return name;
}

ce::HANDLE fail(ce::DWORD error) {
    ce::SetLastError(error);
    return ce::INVALID_HANDLE_VALUE;
}

// The infrared port on a LIRC device opens only when the device can be used, so the
// driver answers a missing, busy or unfit device as it does a port it cannot open.
bool infrared_port_usable(const sim::ComPort& port) {
    if (port.key.find(u"IrDA") == std::u16string_view::npos) return true;
    std::lock_guard guard(hardware_lock());
    return Machine::current().infrared_port().claim().empty();
}

}  // namespace

// Asked of every file opened: looks at the name in place rather than copying it.
bool SerialPort::names_port(ce::LPCWSTR path) {
    if (path == nullptr) return false;
    const std::u16string_view name(path);
    if (name.size() < 5 || upper(name[0]) != u'C' || upper(name[1]) != u'O' || upper(name[2]) != u'M' ||
        name.back() != u':')
        return false;
    return std::all_of(name.begin() + 3, name.end() - 1, [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

ce::HANDLE SerialPort::open(ce::LPCWSTR path) {
    const std::u16string name = upper_name(path);
    const sim::ComPort* port = nullptr;
    {
        std::lock_guard guard(hardware_lock());
        for (const auto& candidate : Machine::current().profile().ports)
            if (candidate.name == name) port = &candidate;
    }
    if (port == nullptr) return fail(ce::ERROR_FILE_NOT_FOUND);
    const std::string file(name.begin(), name.end() - 1);  // ASCII by construction
    LockFile lock(Device::current().run_dir() / "ports" / (file + ".lock"), LockFile::Wait::no);
    if (!lock.locked()) return fail(ce::ERROR_ACCESS_DENIED);
    if (!infrared_port_usable(*port)) return fail(ce::ERROR_ACCESS_DENIED);
    ce::SetLastError(ce::ERROR_SUCCESS);
    return register_handle(new SerialPort(std::move(lock), *port));
}

SerialPort::SerialPort(LockFile lock, const sim::ComPort& port) : lock_(std::move(lock)), port_(port) {
    // The platform driver's state after it loaded: 115200 8N1, binary, DTR and RTS on.
    state_.BaudRate = ce::CBR_115200;
    state_.Flags = ce::DCB_fBinary | 0x0010 | 0x1000;
    state_.ByteSize = 8;
    state_.Parity = ce::NOPARITY;
    state_.StopBits = ce::ONESTOPBIT;
}

bool SerialPort::escape(ce::DWORD function) {
    switch (function) {
        case ce::SETIR:
        case ce::CLRIR: {
            infrared_ = function == ce::SETIR;
            std::lock_guard guard(hardware_lock());
            if (auto* uart = Machine::current().soc().uart(port_.uart)) uart->set_infrared(infrared_);
            return true;
        }
        case ce::SETRTS:
        case ce::CLRRTS:
        case ce::SETDTR:
        case ce::CLRDTR:
        case ce::SETBREAK:
        case ce::CLRBREAK: return true;
        default: return false;
    }
}

}  // namespace host::hw
