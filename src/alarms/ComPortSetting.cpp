#include "alarms/ComPortSetting.h"

#include "ce/Registry.h"

std::u16string ComPortSetting::Read() { return ProgramSettings::Text(kValueName, kMaxBytes); }

bool ComPortSetting::Write(const std::u16string& port) {
    ce::HKEY key = nullptr;
    if (ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, ProgramSettings::kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    const ce::LONG result = ce::RegSetValueExW(key, kValueName, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(port.c_str()),
                                               static_cast<ce::DWORD>((port.size() + 1) * sizeof(char16_t)));
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS;
}
