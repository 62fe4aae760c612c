#pragma once
// Where the tool writes: results on standard output, messages on standard error,
// always prefixed with the verb so a script's log says which step went wrong.

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "ExitCode.h"

namespace handheld {

class Console {
public:
    // `tool` is the name the tool was called by, which its messages start with.
    Console(std::ostream& out, std::ostream& err, std::string tool) : out_(out), err_(err), tool_(std::move(tool)) {}

    std::ostream& out() { return out_; }
    // The name the tool was called by, which the files it writes name it by too.
    const std::string& tool() const { return tool_; }
    // `text` with the tool's commands in it ("`handheld start`") spelt as it was called.
    std::string called(std::string_view text) const;

    // The command messages start with ("reg", "ir send", ...); empty for the tool itself.
    void set_verb(std::string_view verb) { verb_ = verb; }

    // "TOOL VERB: message" on standard error, the commands it names spelt as called.
    ExitCode fail(std::string_view message);
    // "TOOL VERB: note: message" on standard error: what was done differently from
    // what was asked, and why.
    void note(std::string_view message);
    // As fail, plus where to read the usage; the exit code of a wrong command line.
    ExitCode usage(std::string_view message);

private:
    void print_message(std::string_view message);

    std::ostream& out_;
    std::ostream& err_;
    std::string tool_;
    std::string verb_;
};

}  // namespace handheld
