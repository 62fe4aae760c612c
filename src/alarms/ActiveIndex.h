#pragma once
// The selected row of the alarm list, kept across program runs as the DWORD
// "ActiveIndex" under HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO".

#include "alarms/ProgramSettings.h"
#include "ce/Types.h"

class ActiveIndex {
public:
    static constexpr const char16_t* kKeyPath = ProgramSettings::kKeyPath;
    static constexpr const char16_t* kValueName = u"ActiveIndex";

    // 0 when the key or the value is missing or not a DWORD.
    static ce::DWORD Read();
    // Creates the key when needed.
    static bool Write(ce::DWORD index);
};
