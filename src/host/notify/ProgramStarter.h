#pragma once
// How the notification service starts a registered program: as the handheld's shell
// does, through ProgramLauncher. Virtual so that a test of what is due can record the
// starts instead.

#include <memory>
#include <optional>
#include <string>

#include "host/process/ProcessHandle.h"

namespace host {

struct StartedProgram {
    int pid = 0;
    // Whose end the service follows; null when it cannot be followed (a recorded start).
    std::unique_ptr<ProcessHandle> process;
};

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the program at device path `program` with `command_line`; the started
    // program, or nothing with *failure saying why (a missing program file, ...).
    virtual std::optional<StartedProgram> start(const std::u16string& program, const std::u16string& command_line,
                                                std::string* failure);
};

}  // namespace host
