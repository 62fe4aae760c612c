#pragma once
// The handheld installer's interface to an application's setup library: four entry
// points, exported by name with C linkage, that the installer calls around installing
// and removing the application's files.

#include "ce/Types.h"

namespace ce {

enum codeINSTALL_INIT { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL = 1 };
enum codeINSTALL_EXIT { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL = 1 };
enum codeUNINSTALL_INIT { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL = 1 };
enum codeUNINSTALL_EXIT { codeUNINSTALL_EXIT_DONE = 0 };

// Before the files are installed; `installDir` is where they go.
using InstallInitFunction = codeINSTALL_INIT (*)(HWND parent, BOOL firstCall, BOOL previouslyInstalled,
                                                 LPCWSTR installDir);
// After the files are installed, with the counts of what could not be made.
using InstallExitFunction = codeINSTALL_EXIT (*)(HWND parent, LPCWSTR installDir, WORD failedDirs, WORD failedFiles,
                                                 WORD failedRegKeys, WORD failedRegValues, WORD failedShortcuts);
// Before the files are removed.
using UninstallInitFunction = codeUNINSTALL_INIT (*)(HWND parent, LPCWSTR installDir);
// After the files are removed.
using UninstallExitFunction = codeUNINSTALL_EXIT (*)(HWND parent);

inline constexpr const char* INSTALL_INIT_NAME = "Install_Init";
inline constexpr const char* INSTALL_EXIT_NAME = "Install_Exit";
inline constexpr const char* UNINSTALL_INIT_NAME = "Uninstall_Init";
inline constexpr const char* UNINSTALL_EXIT_NAME = "Uninstall_Exit";

}  // namespace ce
