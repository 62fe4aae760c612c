#include "kivo/ProgramStarter.h"

#include "alarms/ActiveIndex.h"
#include "alarms/AlarmFolder.h"
#include "ce/Files.h"
#include "ce/Process.h"
#include "ce/Registry.h"
#include "ce/Shell.h"

namespace {

bool splash_hidden() {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, ActiveIndex::kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    ce::DWORD value = 0;
    ce::DWORD type = 0;
    ce::DWORD bytes = sizeof value;
    const bool read = ce::RegQueryValueExW(key, ProgramStarter::kHideSplashValue, &type, reinterpret_cast<ce::BYTE*>(&value),
                                           &bytes) == ce::ERROR_SUCCESS &&
                      type == ce::REG_DWORD;
    ce::RegCloseKey(key);
    return read && value != 0;
}

void shell_open(const std::u16string& path, const char16_t* verb, ce::ULONG mask, int show) {
    ce::SHELLEXECUTEINFO info;
    info.fMask = mask;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.nShow = show;
    if (ce::ShellExecuteEx(&info) && info.hProcess != nullptr) ce::CloseHandle(info.hProcess);
}

}  // namespace

std::u16string ProgramStarter::ProgramFileFolder() {
    char16_t path[ce::MAX_PATH] = {};
    const ce::DWORD length = ce::GetModuleFileNameW(nullptr, path, ce::MAX_PATH);
    const std::u16string program(path, length < ce::MAX_PATH ? length : 0);
    const auto slash = program.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : program.substr(0, slash + 1);
}

bool ProgramStarter::Exists(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ProgramStarter::StartSplash() {
    if (splash_hidden()) return;
    const std::u16string splash = ProgramFileFolder() + u"splash.exe";
    if (Exists(splash))
        shell_open(splash, u"Open", ce::SEE_MASK_NOCLOSEPROCESS | ce::SEE_MASK_FLAG_NO_UI, ce::SW_SHOW);
}

bool ProgramStarter::WelcomeAvailable() { return Exists(AlarmFolder::ProgramFolder() + u"Splash.exe"); }

void ProgramStarter::StartWelcome() {
    if (WelcomeAvailable()) shell_open(AlarmFolder::ProgramFolder() + u"Splash.exe", u"open", ce::SEE_MASK_FLAG_NO_UI, ce::SW_HIDE);
}

void ProgramStarter::StartHelp() {
    // A bare program name is looked for in the Windows folder, where the viewer lives.
    ce::PROCESS_INFORMATION started{};
    if (!ce::CreateProcessW(kHelpViewer, kHelpPage, nullptr, nullptr, false, 0, nullptr, nullptr, nullptr, &started))
        return;
    ce::CloseHandle(started.hThread);
    ce::CloseHandle(started.hProcess);
}
