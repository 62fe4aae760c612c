// `handheld`: creates, drives and inspects a simulated handheld from a terminal or a test.

#include <iostream>
#include <string>
#include <vector>

#include "Console.h"
#include "HandheldTool.h"

int main(int argc, char** argv) {
    handheld::Console console(std::cout, std::cerr);
    handheld::HandheldTool tool(console);
    return static_cast<int>(tool.run(std::vector<std::string>(argv + 1, argv + argc)));
}
