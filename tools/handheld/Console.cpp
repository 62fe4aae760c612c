#include "Console.h"

#include "ToolName.h"

namespace handheld {

void Console::print_message(std::string_view message) {
    err_ << tool_;
    if (!verb_.empty()) err_ << ' ' << verb_;
    err_ << ": " << called(message) << '\n';
}

std::string Console::called(std::string_view text) const { return as_called(text, tool_); }

ExitCode Console::fail(std::string_view message) {
    print_message(message);
    return ExitCode::failed;
}

void Console::note(std::string_view message) { print_message("note: " + std::string(message)); }

ExitCode Console::usage(std::string_view message) {
    print_message(message);
    err_ << "(see `" << tool_ << ' '  << (verb_.empty() ? std::string("--help") : verb_ + " --help") << "`)\n";
    return ExitCode::usage;
}

}  // namespace handheld
