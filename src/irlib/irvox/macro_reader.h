#pragma once
// Receives the commands a macro parser reads back from a record, one at a time.

#include "irlib/irvox/command.h"

namespace irvox {

class macro_reader {
public:
    macro_reader() = default;
    macro_reader(const macro_reader&) = delete;
    macro_reader& operator=(const macro_reader&) = delete;
    virtual ~macro_reader() = default;

    // Called once `current()` holds a completed command.
    virtual void on_command() = 0;

    command& current() { return current_; }

private:
    command current_;
};

}  // namespace irvox
