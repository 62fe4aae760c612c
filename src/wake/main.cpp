// kivowake: the handheld's notification database starts it with one word on its command line.

#include "ce/Process.h"
#include "wake/WakeProgram.h"

int main() { return WakeProgram::Run(ce::GetCommandLineW()); }
