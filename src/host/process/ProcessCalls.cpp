// The process calls of the platform interface over ProgramLauncher, ProcessHandle and
// the handheld's table of running programs.

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ce/Process.h"
#include "host/Device.h"
#include "host/HandleTable.h"
#include "host/process/ProcessHandle.h"
#include "host/process/ProcessTable.h"
#include "host/process/ProgramLauncher.h"
#include "host/shell/ProgramPath.h"

namespace ce {

namespace {

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

std::u16string own_command_line() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> words;
    for (std::size_t begin = 0; begin < bytes.size();) {
        const std::size_t end = bytes.find('\0', begin);
        words.push_back(bytes.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    std::vector<const char*> argv;
    for (const auto& word : words) argv.push_back(word.c_str());
    return host::ProgramLauncher::command_line_of(static_cast<int>(argv.size()), argv.data());
}

std::u16string program_of(const host::ProcessIdentity& identity) {
    if (identity == host::ProcessIdentity::self()) return host::ProgramPath::current();
    const auto record = host::ProcessTable(host::Device::current().database()).find(identity.pid);
    return record && record->identity == identity ? record->program : std::u16string{};
}

}  // namespace

BOOL CreateProcessW(LPCWSTR imageName, LPCWSTR commandLine, void* /*processAttributes*/, void* /*threadAttributes*/,
                    BOOL /*inheritHandles*/, DWORD /*creationFlags*/, void* /*environment*/,
                    LPCWSTR /*currentDirectory*/, void* /*startupInfo*/, PROCESS_INFORMATION* processInformation) {
    if (imageName == nullptr) return fail(ERROR_INVALID_PARAMETER);
    auto started = host::ProgramLauncher::start(imageName, commandLine == nullptr ? u"" : commandLine);
    if (!started.ok()) return fail(started.error);
    if (processInformation != nullptr) {
        // On Linux the main thread's id is the process id.
        const auto pid = static_cast<DWORD>(started.process->identity().pid);
        processInformation->hThread = host::register_handle(started.process->duplicate());
        processInformation->hProcess = host::register_handle(started.process.release());
        processInformation->dwProcessId = pid;
        processInformation->dwThreadId = pid;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

LPCWSTR GetCommandLineW() {
    static const std::u16string line = own_command_line();
    return line.c_str();
}

HANDLE OpenProcess(DWORD /*access*/, BOOL /*inheritHandle*/, DWORD processId) {
    auto* process = host::ProcessHandle::open(static_cast<pid_t>(processId));
    if (process == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return host::register_handle(process);
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    auto* target = host::handle_as<host::ProcessHandle>(process);
    if (target == nullptr) return FALSE;
    return target->terminate(exitCode) ? TRUE : fail(ERROR_ACCESS_DENIED);
}

DWORD GetProcessId(HANDLE process) {
    auto* target = host::handle_as<host::ProcessHandle>(process);
    return target == nullptr ? 0 : static_cast<DWORD>(target->identity().pid);
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    auto* target = host::handle_as<host::ProcessHandle>(process);
    if (target == nullptr) return FALSE;
    if (exitCode == nullptr) return fail(ERROR_INVALID_PARAMETER);
    const auto code = target->exit_code();
    if (!code) return fail(ERROR_NOT_SUPPORTED);
    *exitCode = *code;
    return TRUE;
}

BOOL QueryFullProcessImageNameW(HANDLE process, DWORD /*flags*/, LPWSTR name, DWORD* size) {
    auto* target = host::handle_as<host::ProcessHandle>(process);
    if (target == nullptr) return FALSE;
    if (name == nullptr || size == nullptr) return fail(ERROR_INVALID_PARAMETER);
    if (target->ended()) return fail(ERROR_INVALID_HANDLE);
    const std::u16string program = program_of(target->identity());
    if (program.empty()) return fail(ERROR_INVALID_HANDLE);
    if (program.size() + 1 > *size) {
        *size = static_cast<DWORD>(program.size() + 1);
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::copy(program.begin(), program.end(), name);
    name[program.size()] = u'\0';
    *size = static_cast<DWORD>(program.size());
    return TRUE;
}

}  // namespace ce
