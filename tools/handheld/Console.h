#pragma once
// Where the tool writes: results on standard output, messages on standard error,
// always prefixed with the verb so a script's log says which step went wrong.

#include <ostream>
#include <string>
#include <string_view>

#include "ExitCode.h"

namespace handheld {

class Console {
public:
    Console(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    std::ostream& out() { return out_; }

    // The command messages start with ("reg", "ir send", ...); empty for the tool itself.
    void set_verb(std::string_view verb) { verb_ = verb; }

    // "handheld VERB: message" on standard error.
    ExitCode fail(std::string_view message);
    // "handheld VERB: note: message" on standard error: what was done differently from
    // what was asked, and why.
    void note(std::string_view message);
    // As fail, plus where to read the usage; the exit code of a wrong command line.
    ExitCode usage(std::string_view message);

private:
    void print_message(std::string_view message);

    std::ostream& out_;
    std::ostream& err_;
    std::string verb_;
};

}  // namespace handheld
