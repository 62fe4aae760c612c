#pragma once
// Starts a program of the handheld by its device path, as the device's shell does. The
// device image holds the real program files (the installer copies the built Linux
// executables there), so starting one runs that file as a new process of the handheld:
// it inherits the handheld ($KIVO_DEVICE), learns its device path through
// $KIVO_PROGRAM_PATH and its show command through $KIVO_SHOW_COMMAND, and gets the
// command line as its one argument. It runs in a session of its own, so it lives on when
// its starter ends, and what it prints goes to log/NAME.out (NAME: its file's name
// without extension), not to its starter's streams. Every start and every failure to
// start is written to log/programs.log.

#include <memory>
#include <string_view>

#include "ce/Types.h"
#include "host/process/ProcessHandle.h"

namespace host {

class ProgramLauncher {
public:
    static constexpr const char* kShowVariable = "KIVO_SHOW_COMMAND";
    static constexpr const char* kLogName = "programs";

    struct Started {
        ce::DWORD error = ce::ERROR_SUCCESS;      // why it could not be started
        std::unique_ptr<ProcessHandle> process;  // the running program; dropping it leaves it running
        bool ok() const { return process != nullptr; }
    };

    // Starts `program` (a device path, or a bare file name, found in \Windows or else in
    // the root as the device's loader finds it) with `command_line`. Errors: ERROR_FILE_NOT_FOUND,
    // ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME for a path that names no file,
    // ERROR_ACCESS_DENIED for a folder, ERROR_BAD_EXE_FORMAT for a file that is no program.
    static Started start(std::u16string_view program, std::u16string_view command_line, int show_command = 1);

    // Writes a failed start to the log.
    static void log_failure(std::u16string_view program, std::u16string_view command_line, ce::DWORD error);

    // The command line as a started program finds it in its arguments, and back.
    static std::u16string command_line_of(int argc, const char* const* argv);
};

}  // namespace host
