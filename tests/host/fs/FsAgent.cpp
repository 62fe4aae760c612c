// A second process for the file system tests. Reads commands from stdin, one a line,
// and answers one line each ("ok" or "error N" unless said otherwise):
//   open PATH ACCESS SHARE DISPOSITION (numbers; one handle at a time) | write TEXT | close
//   delete PATH | setattr PATH N | getattr PATH -> attr N

#include <sstream>
#include <string>

#include "ce/Files.h"
#include "AgentLoop.h"
#include "ce/Text.h"

namespace {

ce::HANDLE g_file = ce::INVALID_HANDLE_VALUE;

std::string answer(bool ok) { return ok ? "ok" : "error " + std::to_string(ce::GetLastError()); }

std::string run(const std::string& line) {
    std::istringstream words(line);
    std::string command, argument;
    ce::DWORD a = 0, b = 0, c = 0;
    words >> command >> argument >> a >> b >> c;
    const std::u16string path = ce::utf16_from_utf8(argument);
    if (command == "open") {
        g_file = ce::CreateFileW(path.c_str(), a, b, c);
        return answer(g_file != ce::INVALID_HANDLE_VALUE);
    }
    if (command == "write") return answer(ce::WriteFile(g_file, argument.data(), ce::DWORD(argument.size()), nullptr));
    if (command == "close") return answer(ce::CloseHandle(g_file));
    if (command == "delete") return answer(ce::DeleteFileW(path.c_str()));
    if (command == "setattr") return answer(ce::SetFileAttributesW(path.c_str(), a));
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes == ce::INVALID_FILE_ATTRIBUTES ? answer(false) : "attr " + std::to_string(attributes);
}

}  // namespace

int main() { return testing_support::serve_commands(run); }
