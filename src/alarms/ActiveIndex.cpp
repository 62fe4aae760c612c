#include "alarms/ActiveIndex.h"

#include "ce/Registry.h"

ce::DWORD ActiveIndex::Read() {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key) != ce::ERROR_SUCCESS) return 0;
    ce::DWORD type = ce::REG_NONE;
    ce::DWORD value = 0;
    ce::DWORD bytes = sizeof value;
    const ce::LONG result = ce::RegQueryValueExW(key, kValueName, &type, reinterpret_cast<ce::BYTE*>(&value), &bytes);
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS && type == ce::REG_DWORD && bytes == sizeof value ? value : 0;
}

bool ActiveIndex::Write(ce::DWORD index) {
    ce::HKEY key = nullptr;
    if (ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    const ce::LONG result =
        ce::RegSetValueExW(key, kValueName, ce::REG_DWORD, reinterpret_cast<const ce::BYTE*>(&index), sizeof index);
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS;
}
