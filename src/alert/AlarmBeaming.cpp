#include "alert/AlarmBeaming.h"

#include "alarms/AlarmFolder.h"
#include "ce/Registry.h"
#include "ce/Thread.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/database_registry.h"
#include "irlib/irvox/context.h"

namespace {

constexpr ce::DWORD kPortBytes = 400;

}  // namespace

std::u16string AlarmBeaming::ChosenPort() {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, kSettingsKey, &key) != ce::ERROR_SUCCESS) return {};
    char16_t port[kPortBytes / sizeof(char16_t) + 1] = {};
    ce::DWORD type = 0;
    ce::DWORD bytes = kPortBytes;
    const bool read = ce::RegQueryValueExW(key, kPortValue, &type, reinterpret_cast<ce::BYTE*>(port), &bytes) ==
                          ce::ERROR_SUCCESS &&
                      type == ce::REG_SZ;
    ce::RegCloseKey(key);
    return read ? std::u16string(port) : std::u16string();
}

void AlarmBeaming::Beam(const std::string& codebase) {
    const std::u16string port = ChosenPort();
    if (port.empty()) return;
    platform::card::database_registry::instance().set_codebase_folder(AlarmFolder::Path());
    // Without a driver for this processor the macro records why and sends nothing.
    if (CIrDrvr* driver = GetIrDriver(); driver != nullptr) driver->SetPortName(port.c_str());
    ce::Sleep(kSettleMs);
    {
        irvox::context macro;
        macro.select_codebase(codebase);
        macro.load_macro_record(kMacro);
        macro.run_macro(1, true);
    }
    ReleaseIrDriver();
}
