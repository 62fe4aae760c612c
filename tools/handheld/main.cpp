// `handheld`: creates, drives and inspects a simulated handheld from a terminal or a test.

#include <iostream>
#include <string>

#include "Console.h"
#include "HandheldTool.h"
#include "PrintableOutput.h"
#include "ToolName.h"

int main(int argc, char** argv) {
    handheld::PrintableOutput out(std::cout.rdbuf());
    handheld::PrintableOutput err(std::cerr.rdbuf());
    std::ostream printable_out(&out);
    std::ostream printable_err(&err);
    const std::string name = handheld::tool_name_from(argc > 0 ? argv[0] : "");
    handheld::Console console(printable_out, printable_err, name);
    handheld::HandheldTool tool(name);
    try {
        tool.command_line().parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return static_cast<int>(tool.refuse(error, console));
    }
    return static_cast<int>(tool.run(console));
}
