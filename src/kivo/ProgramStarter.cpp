#include "kivo/ProgramStarter.h"

#include "alarms/AlarmFolder.h"
#include "alarms/ProgramSettings.h"
#include "ce/Files.h"
#include "ce/Process.h"
#include "ce/Shell.h"

namespace {

void shell_open(const std::u16string& path, const char16_t* verb, ce::ULONG mask, int show) {
    ce::SHELLEXECUTEINFO info;
    info.fMask = mask;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.nShow = show;
    if (ce::ShellExecuteEx(&info) && info.hProcess != nullptr) ce::CloseHandle(info.hProcess);
}

}  // namespace

bool ProgramStarter::Exists(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ProgramStarter::StartSplash() {
    if (ProgramSettings::Dword(kHideSplashValue).value_or(0) != 0) return;
    const std::u16string splash = AlarmFolder::ProgramFolder() + u"splash.exe";
    if (Exists(splash))
        shell_open(splash, u"Open", ce::SEE_MASK_NOCLOSEPROCESS | ce::SEE_MASK_FLAG_NO_UI, ce::SW_SHOW);
}

bool ProgramStarter::WelcomeAvailable() { return Exists(AlarmFolder::ProgramFolder() + u"Splash.exe"); }

void ProgramStarter::StartWelcome() {
    if (WelcomeAvailable())
        shell_open(AlarmFolder::ProgramFolder() + u"Splash.exe", u"open", ce::SEE_MASK_FLAG_NO_UI, ce::SW_HIDE);
}

void ProgramStarter::StartHelp() {
    // A bare program name is looked for in the Windows folder, where the viewer lives.
    ce::PROCESS_INFORMATION started{};
    if (!ce::CreateProcessW(kHelpViewer, kHelpPage, nullptr, nullptr, false, 0, nullptr, nullptr, nullptr, &started))
        return;
    ce::CloseHandle(started.hThread);
    ce::CloseHandle(started.hProcess);
}
