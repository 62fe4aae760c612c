// `handheld`: creates, drives and inspects a simulated handheld from a terminal or a test.

#include <iostream>

#include "Console.h"
#include "HandheldTool.h"
#include "PrintableOutput.h"

int main(int argc, char** argv) {
    handheld::PrintableOutput out(std::cout.rdbuf());
    handheld::PrintableOutput err(std::cerr.rdbuf());
    std::ostream printable_out(&out);
    std::ostream printable_err(&err);
    handheld::Console console(printable_out, printable_err);
    handheld::HandheldTool tool;
    try {
        tool.command_line().parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return static_cast<int>(tool.refuse(error, console));
    }
    return static_cast<int>(tool.run(console));
}
