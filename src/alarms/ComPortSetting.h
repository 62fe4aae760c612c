#pragma once
// The infrared port the user chose in Infrared Setup: the string "ComPort" under
// HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO", a device name with its colon ("COM3:").
// Every user of the driver reads it afresh: the reminder as it beams, the signal form as
// it opens, the command list's Test each time it runs.

#include <string>

#include "alarms/ProgramSettings.h"

class ComPortSetting {
public:
    static constexpr const char16_t* kValueName = u"ComPort";
    // The most a reader takes: 199 characters and the NUL.
    static constexpr ce::DWORD kMaxBytes = 400;

    // Empty when no port was chosen (or the value is unreadable or too long).
    static std::u16string Read();
    // Creates the key when needed; stores the name and its NUL.
    static bool Write(const std::u16string& port);
};
