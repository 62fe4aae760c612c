#pragma once
// Lets the installed notification service wake this computer from suspend: the file
// capability CAP_WAKE_ALARM (permitted) on its executable, which lets it create the
// alarm-clock timer the kernel programs the RTC for. Setting it takes root; it holds
// until the executable is rebuilt or replaced. Root gives it only to the service this
// tool was installed or built with, never to a path a handheld names, and only when no
// account but root can change that file: it opens it once, without following a link,
// and checks and marks that very file.

#include <filesystem>

#include "Console.h"

namespace handheld {

class WakeCapability {
public:
    static ExitCode grant(const std::filesystem::path& service, Console& console);
};

}  // namespace handheld
