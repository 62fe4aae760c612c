#pragma once
// The handheld's serial ports as the platform's device manager lists them under
// HKEY_LOCAL_MACHINE "Drivers\Active", and the port KIVO proposes for infrared. The
// beam listener's setting (HKEY_CURRENT_USER "Software\Microsoft\Obex\Settings"
// "ServerState") is only read: when it listens, it holds the IrDA port, so another
// port is proposed.

#include <string>
#include <vector>

class SerialPorts {
public:
    static constexpr const char16_t* kAutoDetect = u"<Auto detect>";
    // When nothing says which port is the infrared one.
    static constexpr const char16_t* kDefaultInfraredPort = u"COM2:";
    static constexpr const char16_t* kFirstPort = u"COM1:";

    // "<Auto detect>", then one line per active COM driver whose driver key opens:
    // its name, a blank and its friendly name ("COM3: Infrared Port").
    static void EnumerateSerialPorts(std::vector<std::u16string>& list);
    // The IrDA driver's port (the last one listed), "COM2:" without one; while the
    // listener is on, "COM1:" if present, else the lowest other COM port. "COM1:" when
    // the drivers cannot be listed at all.
    static std::u16string AutoDetectPort();
    // A line's device name: up to and including its first ':' (all of it without one).
    static std::u16string DeviceName(const std::u16string& line);
};
