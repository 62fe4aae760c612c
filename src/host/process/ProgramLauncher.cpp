#include "host/process/ProgramLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "ce/Process.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/fs/NamedPath.h"
#include "host/process/ProcessTable.h"
#include "host/shell/ProgramPath.h"

extern char** environ;

namespace host {

namespace {

struct ProgramFile {
    ce::DWORD error = ce::ERROR_SUCCESS;
    std::filesystem::path host;
    std::u16string device;  // the path as the file system spells it
};

ProgramFile locate(std::u16string_view program) {
    const std::u16string text(program);
    const NamedPath path(text.c_str());
    if (!path.ok()) return {path.error(), {}, {}};
    if (!path.exists()) return {ce::ERROR_FILE_NOT_FOUND, {}, {}};
    if (path.is_directory() || path.is_root()) return {ce::ERROR_ACCESS_DENIED, {}, {}};
    return {ce::ERROR_SUCCESS, path.host(), DevicePath::from_host(path.host()).text()};
}

// A bare file name ("peghelp.exe") is looked for where the device's loader looks for
// it: the Windows folder first, then the root. A path with a folder is taken as it is.
ProgramFile find_program(std::u16string_view program) {
    if (program.find(u'\\') != std::u16string_view::npos) return locate(program);
    ProgramFile found;
    for (const char16_t* folder : {u"\\Windows\\", u"\\"}) {
        found = locate(folder + std::u16string(program));
        if (found.error == ce::ERROR_SUCCESS) break;
    }
    return found;
}

ce::DWORD error_of_spawn(int error) {
    switch (error) {
        case ENOENT:
            return ce::ERROR_FILE_NOT_FOUND;
        case ENOMEM:
        case EAGAIN:
            return ce::ERROR_NOT_ENOUGH_MEMORY;
        default:
            // The device has no execute permission: a file the host refuses to run,
            // for whatever reason, is simply not a program.
            return ce::ERROR_BAD_EXE_FORMAT;
    }
}

bool is_handheld_variable(const char* entry) {
    for (const char* name : {ProgramPath::kVariable, "KIVO_DEVICE", ProgramLauncher::kShowVariable}) {
        const std::string_view prefix(name);
        if (std::string_view(entry).starts_with(prefix) && entry[prefix.size()] == '=') return true;
    }
    return false;
}

constexpr std::string_view kRuntimeVariable = "XDG_RUNTIME_DIR";

// Qt wants a private runtime folder and complains at every start without one, which a
// service started outside a desktop session has not: the handheld's own, 0700, then.
// A session's own folder is kept (its display's socket is there).
std::optional<std::string> runtime_folder() {
    if (const char* session = std::getenv(kRuntimeVariable.data()); session != nullptr && *session != '\0')
        return std::nullopt;
    std::error_code error;
    const auto folder = std::filesystem::absolute(Device::current().run_dir() / "xdg", error);
    if (error || (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) || chmod(folder.c_str(), 0700) != 0)
        return std::nullopt;
    return std::string(kRuntimeVariable) + "=" + folder.string();
}

std::vector<std::string> environment_for(const ProgramFile& file, int show_command) {
    std::vector<std::string> variables;
    const auto runtime = runtime_folder();
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const bool replaced = runtime && text.starts_with(kRuntimeVariable) && text[kRuntimeVariable.size()] == '=';
        if (!is_handheld_variable(*entry) && !replaced) variables.emplace_back(*entry);
    }
    if (runtime) variables.push_back(*runtime);
    std::error_code ignored;
    variables.push_back("KIVO_DEVICE=" + std::filesystem::absolute(Device::current().root(), ignored).string());
    variables.push_back(std::string(ProgramPath::kVariable) + "=" + ce::utf8_from_utf16(file.device));
    variables.push_back(std::string(ProgramLauncher::kShowVariable) + "=" + std::to_string(show_command));
    return variables;
}

std::vector<char*> pointers_to(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (auto& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Spawns the file; the process id, or the errno of the failed start.
int spawn(const ProgramFile& file, std::u16string_view command_line, int show_command, pid_t* pid) {
    std::vector<std::string> arguments{file.host.string()};
    if (!command_line.empty()) arguments.push_back(ce::utf8_from_utf16(command_line));
    std::vector<std::string> variables = environment_for(file, show_command);
    auto argv = pointers_to(arguments);
    auto envp = pointers_to(variables);

    // A program of the handheld has no console: what it prints goes to log/NAME.out, not to
    // whoever started it (a pipe of the starter's would stay open as long as it runs).
    std::error_code ignored;
    std::filesystem::create_directories(Device::current().log_dir(), ignored);
    const std::string output = (Device::current().log_dir() / (file.host.stem().string() + ".out")).string();
    int printed = open(output.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (printed < 0) printed = open("/dev/null", O_WRONLY | O_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (printed >= 0) {
        posix_spawn_file_actions_adddup2(&actions, printed, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, printed, STDERR_FILENO);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A fresh session and the default signal handling, whatever the starter had set.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int error = posix_spawn(pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (printed >= 0) close(printed);
    return error;
}

std::string in_quotes(std::u16string_view text) { return "\"" + ce::utf8_from_utf16(text) + "\""; }

}  // namespace

ProgramLauncher::Started ProgramLauncher::start(std::u16string_view program, std::u16string_view command_line,
                                                int show_command) {
    const auto fail = [&](ce::DWORD error) {
        log_failure(program, command_line, error);
        return Started{error, nullptr};
    };
    const ProgramFile file = find_program(program);
    if (file.error != ce::ERROR_SUCCESS) return fail(file.error);
    pid_t pid = -1;
    if (const int error = spawn(file, command_line, show_command, &pid); error != 0) return fail(error_of_spawn(error));

    // Opened before the reaper can reap it, so the id cannot yet belong to anyone else.
    const int pidfd = ProcessHandle::open_pidfd(pid);
    auto exit = ChildExit::watch(pid);
    const ProcessIdentity identity = ProcessIdentity::of(pid).value_or(ProcessIdentity{pid, 0});
    ProcessTable(Device::current().database()).add(ProcessRecord{identity, file.device, std::u16string(command_line)});
    DeviceLog(kLogName).write("started " + in_quotes(file.device) + " " + in_quotes(command_line) + " as process " +
                              std::to_string(pid));
    return Started{ce::ERROR_SUCCESS, std::make_unique<ProcessHandle>(identity, std::move(exit), pidfd)};
}

void ProgramLauncher::log_failure(std::u16string_view program, std::u16string_view command_line, ce::DWORD error) {
    DeviceLog(kLogName).write("cannot start " + in_quotes(program) + " " + in_quotes(command_line) + ": error " +
                              std::to_string(error));
}

std::u16string ProgramLauncher::command_line_of(int argc, const char* const* argv) {
    std::string line;
    for (int index = 1; index < argc; ++index) {
        if (index > 1) line += ' ';
        line += argv[index];
    }
    return ce::utf16_from_utf8(line);
}

}  // namespace host
