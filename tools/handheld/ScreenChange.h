#pragma once
// Gives the handheld a new screen (size, dots per inch) and tells every program's
// top-level windows, which lay themselves out on it again.

#include "Console.h"
#include "host/screen/ScreenSettings.h"

namespace handheld {

// Says the new screen, or why it could not be set.
ExitCode change_screen(const host::ScreenSettings& screen, Console& console);

}  // namespace handheld
