#pragma once
// Turns a macro record back into a command list: each command read is appended.

#include "irlib/irvox/macro_reader.h"

namespace irvox {

class command_list;

class disassembler : public macro_reader {
public:
    explicit disassembler(command_list& target) : target_(target) {}
    void on_command() override;

private:
    command_list& target_;
};

}  // namespace irvox
