// `handheld`: creates, drives and inspects a simulated handheld from a terminal or a test.

#include <iostream>

#include "Console.h"
#include "HandheldTool.h"

int main(int argc, char** argv) {
    handheld::Console console(std::cout, std::cerr);
    handheld::HandheldTool tool;
    try {
        tool.command_line().parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return static_cast<int>(tool.refuse(error, console));
    }
    return static_cast<int>(tool.run(console));
}
