#include "irlib/irvox/disassembler.h"

#include "irlib/irvox/command_list.h"

namespace irvox {

void disassembler::on_command() { target_.add(current()); }

}  // namespace irvox
