#pragma once
// How the notification service starts a registered program: as the handheld's shell
// does, through ProgramLauncher. Virtual so that a test of what is due can record the
// starts instead.

#include <optional>
#include <string>

namespace host {

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the program at device path `program` with `command_line`; its process id,
    // or nothing with *failure saying why (a missing program file, ...).
    virtual std::optional<int> start(const std::u16string& program, const std::u16string& command_line,
                                     std::string* failure);
};

}  // namespace host
