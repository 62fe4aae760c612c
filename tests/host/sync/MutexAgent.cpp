// A second process for the mutex tests, holding at most one mutex handle, all on its main
// thread. Reads commands from stdin, one a line, and answers one line each:
//   open NAME | own NAME -> created | exists | error N   (own: asks for initial ownership)
//   wait MS              -> RESULT ELAPSED_MS             (RESULT as WaitForSingleObject returns it)
//   release              -> ok | error N
//   close                -> ok | error N

#include <chrono>
#include <sstream>
#include <string>

#include "ce/Sync.h"
#include "AgentLoop.h"
#include "ce/Text.h"

namespace {

ce::HANDLE g_mutex = nullptr;

std::string error() { return "error " + std::to_string(ce::GetLastError()); }

std::string open(const std::string& name, bool owned) {
    if (g_mutex != nullptr) ce::CloseHandle(g_mutex);
    g_mutex = ce::CreateMutexW(nullptr, owned ? ce::TRUE : ce::FALSE, ce::utf16_from_utf8(name).c_str());
    if (g_mutex == nullptr) return error();
    return ce::GetLastError() == ce::ERROR_ALREADY_EXISTS ? "exists" : "created";
}

std::string wait(ce::DWORD milliseconds) {
    const auto start = std::chrono::steady_clock::now();
    const ce::DWORD result = ce::WaitForSingleObject(g_mutex, milliseconds);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return std::to_string(result) + " " + std::to_string(elapsed.count());
}

std::string run(const std::string& line) {
    std::istringstream words(line);
    std::string command, argument;
    words >> command >> argument;
    if (command == "open" || command == "own") return open(argument, command == "own");
    if (command == "wait") return wait(static_cast<ce::DWORD>(std::stoul(argument)));
    if (command == "release") return ce::ReleaseMutex(g_mutex) ? "ok" : error();
    if (command == "close") {
        const bool closed = ce::CloseHandle(g_mutex) != ce::FALSE;
        g_mutex = nullptr;
        return closed ? "ok" : error();
    }
    return "error unknown command";
}

}  // namespace

int main() { return testing_support::serve_commands(run); }
