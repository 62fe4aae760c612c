// kivowake: the handheld's notification database starts it with one word on its command line.

#include "ce/Process.h"
#include "wake/WakeProgram.h"

#ifdef KIVO_WAKE_STOPS_AT_ENTRY
#include <signal.h>

#include <cstring>
#endif

#ifdef KIVO_WAKE_STOPS_AT_ENTRY
// A test build only: stopped before it does anything for a due alarm, so that a test can
// kill it at that instant, or let it go on and kill it at a chosen moment after.
int main(int argc, char** argv) {
    if (argc > 1 && std::strstr(argv[1], "AppRunAtTime") != nullptr) raise(SIGSTOP);
    return WakeProgram::Run(ce::GetCommandLineW());
}
#else
int main() { return WakeProgram::Run(ce::GetCommandLineW()); }
#endif
