#include "host/notify/ProgramStarter.h"

#include "ce/Process.h"
#include "host/process/ProgramLauncher.h"

namespace host {

namespace {

std::string reason_of(ce::DWORD error) {
    switch (error) {
    case ce::ERROR_FILE_NOT_FOUND:
        return "the program file is missing";
    case ce::ERROR_PATH_NOT_FOUND:
        return "the program's folder is missing";
    case ce::ERROR_INVALID_NAME:
        return "the path cannot name a file";
    case ce::ERROR_ACCESS_DENIED:
        return "the path names a folder";
    case ce::ERROR_BAD_EXE_FORMAT:
        return "the file is not a program";
    default:
        return "error " + std::to_string(error);
    }
}

}  // namespace

std::optional<StartedProgram> ProgramStarter::start(const std::u16string& program, const std::u16string& command_line,
                                                    std::string* failure) {
    auto started = ProgramLauncher::start(program, command_line);
    if (!started.ok()) {
        *failure = reason_of(started.error);
        return std::nullopt;
    }
    const int pid = static_cast<int>(started.process->identity().pid);
    return StartedProgram{pid, std::move(started.process)};
}

}  // namespace host
