#include "framework/SingleInstance.h"

#include <algorithm>
#include <string>

#include "ce/Messages.h"
#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Sync.h"
#include "ce/Text.h"
#include "ce/Thread.h"
#include "ce/Windows.h"

namespace framework {
namespace {

constexpr int kWindowSearchTries = 40;      // 10 s in all: a copy that is still starting
constexpr ce::DWORD kWindowSearchPauseMs = 250;  // gets time to make its window
constexpr int kIdlePriority = 255;

std::u16string ProgramPath() {
    char16_t path[ce::MAX_PATH];
    const ce::DWORD length = ce::GetModuleFileNameW(nullptr, path, ce::MAX_PATH);
    return std::u16string(path, length);
}

std::u16string ProgramPathOf(ce::HWND window) {
    ce::DWORD process_id = 0;
    ce::GetWindowThreadProcessId(window, &process_id);
    const ce::HANDLE process = ce::OpenProcess(ce::PROCESS_ALL_ACCESS, ce::FALSE, process_id);
    if (process == nullptr) return {};
    char16_t path[ce::MAX_PATH];
    ce::DWORD size = ce::MAX_PATH;
    const bool known = ce::QueryFullProcessImageNameW(process, 0, path, &size);
    ce::CloseHandle(process);
    return known ? std::u16string(path, size) : std::u16string();
}

struct WindowSearch {
    std::u16string program;
    ce::HWND found = nullptr;
};

ce::BOOL TakeWindowOfProgram(ce::HWND window, ce::LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    const std::u16string path = ProgramPathOf(window);
    if (path.empty() || ce::lstrcmpiW(path.c_str(), search.program.c_str()) != 0) return ce::TRUE;
    search.found = window;
    return ce::FALSE;
}

ce::HWND WindowOfProgram(const std::u16string& program) {
    WindowSearch search{program};
    ce::EnumWindows(TakeWindowOfProgram, reinterpret_cast<ce::LPARAM>(&search));
    return search.found;
}

// Whether another process still has the program's mutex open: ours is let go of and
// made again, which says whether it already existed. The copy that made it first may
// never make a window (one started only to renew the wake registration ends without
// one), and waiting out the whole search for it would hold a reminder back by seconds.
bool OtherHolderStays(ce::HANDLE& mutex, const std::u16string& name) {
    ce::CloseHandle(mutex);
    mutex = ce::CreateMutexW(nullptr, ce::FALSE, name.c_str());
    return mutex == nullptr || ce::GetLastError() == ce::ERROR_ALREADY_EXISTS;
}

}  // namespace

bool ApplySingleInstanceRule() {
    const std::u16string program = ProgramPath();
    std::u16string name = program;
    std::replace(name.begin(), name.end(), u'\\', u'/');
    ce::HANDLE mutex = ce::CreateMutexW(nullptr, ce::FALSE, name.c_str());
    if (mutex != nullptr && ce::GetLastError() == ce::ERROR_ALREADY_EXISTS) {
        const ce::HANDLE thread = ce::GetCurrentThread();
        const int priority = ce::CeGetThreadPriority(thread);
        for (int attempt = 0; attempt < kWindowSearchTries; ++attempt) {
            if (const ce::HWND running = WindowOfProgram(program)) {
                ce::SetForegroundWindow(running);
                ce::ReleaseMutex(mutex);
                return false;
            }
            if (!OtherHolderStays(mutex, name)) break;
            ce::CeSetThreadPriority(thread, kIdlePriority);
            ce::Sleep(kWindowSearchPauseMs);
            ce::CeSetThreadPriority(thread, priority);
        }
    }
    if (mutex != nullptr) ce::ReleaseMutex(mutex);
    return true;
}

}  // namespace framework
