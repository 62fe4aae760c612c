// A second process for the serial port tests. Commands, one a line:
//   open NAME -> ok | error N
//   close     -> ok | error N

#include <sstream>
#include <string>

#include "AgentLoop.h"
#include "ce/Files.h"
#include "ce/Text.h"

namespace {

ce::HANDLE g_port = ce::INVALID_HANDLE_VALUE;

std::string error() { return "error " + std::to_string(ce::GetLastError()); }

std::string run(const std::string& line) {
    std::istringstream words(line);
    std::string command, argument;
    words >> command >> argument;
    if (command == "open") {
        g_port = ce::CreateFileW(ce::utf16_from_utf8(argument).c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, 0,
                                 ce::OPEN_EXISTING);
        return g_port == ce::INVALID_HANDLE_VALUE ? error() : "ok";
    }
    if (command == "close") {
        const bool closed = ce::CloseHandle(g_port) != ce::FALSE;
        g_port = ce::INVALID_HANDLE_VALUE;
        return closed ? "ok" : error();
    }
    return "unknown";
}

}  // namespace

int main() { return testing_support::serve_commands(run); }
