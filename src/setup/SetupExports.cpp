// KIVOSETUP's entry points, as the handheld's installer finds them by name. Only removal
// has work to do; the arguments the installer passes are not needed.

#include "ce/Setup.h"
#include "setup/ProgramRemoval.h"

#define KIVOSETUP_EXPORT extern "C" __attribute__((visibility("default")))

KIVOSETUP_EXPORT ce::codeINSTALL_INIT Install_Init(ce::HWND, ce::BOOL, ce::BOOL, ce::LPCWSTR) {
    return ce::codeINSTALL_INIT_CONTINUE;
}

KIVOSETUP_EXPORT ce::codeINSTALL_EXIT Install_Exit(ce::HWND, ce::LPCWSTR, ce::WORD, ce::WORD, ce::WORD, ce::WORD,
                                                   ce::WORD) {
    return ce::codeINSTALL_EXIT_DONE;
}

KIVOSETUP_EXPORT ce::codeUNINSTALL_INIT Uninstall_Init(ce::HWND, ce::LPCWSTR) {
    ProgramRemoval::Prepare();
    return ce::codeUNINSTALL_INIT_CONTINUE;
}

KIVOSETUP_EXPORT ce::codeUNINSTALL_EXIT Uninstall_Exit(ce::HWND) { return ce::codeUNINSTALL_EXIT_DONE; }
