#include "forms/LastFolder.h"

#include "alarms/ProgramSettings.h"
#include "ce/Registry.h"

std::u16string LastFolder::Read() { return ProgramSettings::Text(kValueName, kMaxBytes); }

bool LastFolder::Write(const std::u16string& folder) {
    ce::HKEY key = nullptr;
    if (ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, ProgramSettings::kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    const ce::LONG result =
        ce::RegSetValueExW(key, kValueName, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(folder.c_str()),
                           static_cast<ce::DWORD>((folder.size() + 1) * sizeof(char16_t)));
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS;
}
