#include "alarms/ActiveIndex.h"

#include "alarms/ProgramSettings.h"
#include "ce/Registry.h"

ce::DWORD ActiveIndex::Read() { return ProgramSettings::Dword(kValueName).value_or(0); }

bool ActiveIndex::Write(ce::DWORD index) {
    ce::HKEY key = nullptr;
    if (ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    const ce::LONG result =
        ce::RegSetValueExW(key, kValueName, ce::REG_DWORD, reinterpret_cast<const ce::BYTE*>(&index), sizeof index);
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS;
}
