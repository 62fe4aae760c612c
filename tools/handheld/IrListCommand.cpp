#include "IrListCommand.h"

#include "signals/LircConfText.h"
#include "signals/SignalFile.h"

namespace handheld {

void IrListCommand::declare(CLI::App& command) {
    describe(
        "Lists the remotes of a LIRC remote file (lircd.conf) with their protocol, carrier and\n"
        "buttons. A button is sent with `ir send FILE --button NAME` and stored with\n"
        "`ir put CODEBASE SIGNAL FILE --button NAME` (REMOTE/NAME when several remotes have it).");
    command.add_option("FILE", file_, "the LIRC remote file")->required();
    command.footer("example:\n  handheld ir list /usr/share/lirc/remotes/streamzap/lircd.conf.streamzap");
}

ExitCode IrListCommand::run(Console& console) {
    std::string text;
    if (const std::string error = SignalFile::Load(file_, text); !error.empty()) return console.fail(file_ + ": " + error);
    if (!LircConfText::Looks(text)) return console.fail(file_ + ": not a LIRC remote file (it begins with no 'begin remote')");
    const LircConfResult read = LircConfText::Read(text);
    if (!read.error.empty()) return console.fail(file_ + ": " + read.error);
    for (const std::string& note : read.notes) console.note(note);
    auto& out = console.out();
    for (const LircRemote& remote : read.remotes) {
        out << "remote " << remote.name << ": " << remote.protocol() << ", " << remote.frequency << " Hz, "
            << remote.buttons.size() << (remote.buttons.size() == 1 ? " button\n" : " buttons\n");
        for (const LircButton& button : remote.buttons) out << "  " << button.name << '\n';
    }
    return ExitCode::ok;
}

}  // namespace handheld
