// The notification LEDs (ce/Led.h): their states are kept and journaled by the machine.

#include "ce/Led.h"
#include "host/hw/Machine.h"

namespace ce {

BOOL NLedSetDevice(UINT deviceId, void* input) {
    const auto* settings = static_cast<const NLED_SETTINGS_INFO*>(input);
    if (deviceId != NLED_SETTINGS_INFO_ID || settings == nullptr || settings->LedNum >= host::hw::kLedCount ||
        settings->OffOnBlink < 0 || settings->OffOnBlink > 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    host::hw::Machine::current().set_led(settings->LedNum, settings->OffOnBlink);
    return TRUE;
}

BOOL NLedGetDeviceInfo(UINT infoId, void* output) {
    if (infoId != NLED_COUNT_INFO_ID || output == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    static_cast<NLED_COUNT_INFO*>(output)->cLeds = host::hw::kLedCount;
    return TRUE;
}

}  // namespace ce
