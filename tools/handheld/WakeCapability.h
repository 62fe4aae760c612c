#pragma once
// Lets the handheld's notification service wake this computer from suspend: the file
// capability CAP_WAKE_ALARM on its executable, which lets it create the alarm-clock timer
// the kernel programs the RTC for. Setting it takes root (setcap, Debian package
// libcap2-bin); it holds until the executable is rebuilt or replaced.

#include <filesystem>

#include "Console.h"

namespace handheld {

class WakeCapability {
public:
    static ExitCode grant(const std::filesystem::path& service, Console& console);
};

}  // namespace handheld
