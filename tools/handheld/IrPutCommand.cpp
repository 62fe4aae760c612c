#include "IrPutCommand.h"

#include <fstream>
#include <sstream>

#include "Arguments.h"
#include "IrCodebases.h"
#include "Mode2Signal.h"
#include "irlib/card/result_codes.h"

namespace handheld {

void IrPutCommand::declare(CLI::App& command) {
    describe(
        "Stores a LIRC mode2 file as signal NAME in a codebase of the alarms folder, created\n"
        "when missing (an alarm's infrared commands are the macro \"Alarm\" of its codebase).");
    command.add_option("CODEBASE", codebase_, "the codebase")->required();
    command.add_option("NAME", name_, "the signal's name")->required();
    command.add_option("FILE", file_, "the mode2 file")->required();
    add_number(command, "--repeat-start", repeat_start_, 0, 65535,
               "the duration the repeated frame starts at (0: the whole signal repeats)", "a duration index");
    command.add_flag("--add-part", add_part_, "keep the signal there and add this one as its next part");
    command.footer("example:\n  handheld ir put 7 TV tv.mode2 --repeat-start 68");
}

std::optional<platform::card::signal_data> IrPutCommand::read_signal(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const auto signal = Mode2Signal::parse(text.str(), error);
    if (!signal) {
        error = path + ": " + error;
        return std::nullopt;
    }
    return platform::card::signal_data{signal->durations, 0, signal->carrier_us};
}

ExitCode IrPutCommand::run(Console& console) {
    std::string error;
    auto signal = read_signal(file_, error);
    if (!signal) return console.fail(error);
    signal->repeat_start = static_cast<std::uint16_t>(repeat_start_);

    platform::card::codebase_writer writer;
    if (const int opened = IrCodebases::open_for_writing(codebase_, writer); opened != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(opened));
    if (const int put = writer.put_signal(name_, *signal, !add_part_); put != platform::card::kOk)
        return console.fail("signal " + name_ + ": " + IrCodebases::describe(put));
    if (const int committed = writer.commit(); committed != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(committed));
    console.out() << "stored signal " << name_ << " (" << signal->durations.size() << " durations, carrier "
                  << signal->carrier_period << " us) in codebase " << codebase_ << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
