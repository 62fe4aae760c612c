#include "setup/ProgramRemoval.h"

#include <string>

#include "ce/Notify.h"
#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Windows.h"

void ProgramRemoval::Prepare() {
    EndOwnerOf(kAlertTitle);
    EndOwnerOf(kMainTitle);
    char16_t windows[ce::MAX_PATH];
    if (!ce::SHGetSpecialFolderPath(nullptr, windows, ce::CSIDL_WINDOWS, ce::FALSE)) return;
    const std::u16string wake = std::u16string(windows) + u"\\kivowake.exe";
    ce::CeRunAppAtEvent(wake.c_str(), ce::NOTIFICATION_EVENT_NONE);
    ce::CeRunAppAtTime(wake.c_str(), nullptr);
}

void ProgramRemoval::EndOwnerOf(const char16_t* title) {
    const ce::HWND window = ce::FindWindowW(nullptr, title);
    if (window == nullptr) return;
    ce::DWORD process_id = 0;
    ce::GetWindowThreadProcessId(window, &process_id);
    const ce::HANDLE process = ce::OpenProcess(ce::PROCESS_TERMINATE, ce::FALSE, process_id);
    if (process == nullptr) return;
    ce::TerminateProcess(process, 0);
    ce::CloseHandle(process);
}
