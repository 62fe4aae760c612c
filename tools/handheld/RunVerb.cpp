#include "RunVerb.h"

#include "ErrorText.h"
#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Text.h"

namespace handheld {

void RunVerb::declare(CLI::App& command) {
    describe(
        "Starts the program file at DEVICE-PATH with the ARGUMENTS, joined by spaces, as its\n"
        "command line, the way the handheld's shell opens a program. The program runs on the\n"
        "handheld after the tool has ended; `handheld ps` shows it and its windows. The tool\n"
        "returns at once; what the program prints goes to log/NAME.out of the handheld.");
    command.add_option("DEVICE-PATH", program_, "the program file, such as \\Program Files\\KIVO\\KIVO.exe")
        ->required();
    command.add_option("ARGUMENTS", arguments_, "its command line (after -- when a word starts with -)");
    command.footer(
        "examples:\n"
        "  handheld run '\\Program Files\\KIVO\\KIVO.exe'\n"
        "  handheld run '\\Windows\\kivowake.exe' AppRunAtTime");
}

ExitCode RunVerb::run(Console& console) {
    std::string command_line;
    for (const auto& word : arguments_) {
        if (!command_line.empty()) command_line += ' ';
        command_line += word;
    }
    const std::u16string file = ce::utf16_from_utf8(program_);
    const std::u16string parameters = ce::utf16_from_utf8(command_line);
    ce::SHELLEXECUTEINFO shell;
    // The tool says what went wrong itself.
    shell.fMask = ce::SEE_MASK_FLAG_NO_UI | ce::SEE_MASK_NOCLOSEPROCESS;
    shell.lpVerb = u"open";
    shell.lpFile = file.c_str();
    shell.lpParameters = parameters.c_str();
    shell.nShow = ce::SW_SHOWNORMAL;
    if (!ce::ShellExecuteEx(&shell))
        return console.fail("cannot start " + program_ + ": " + error_text(ce::GetLastError()));
    const ce::DWORD process = ce::GetProcessId(shell.hProcess);
    ce::CloseHandle(shell.hProcess);
    console.out() << "started " << program_ << (command_line.empty() ? "" : " " + command_line) << " as process "
                  << process << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
