#include "IrPutCommand.h"

#include "Arguments.h"
#include "IrCodebases.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"
#include "signals/InfraredSignal.h"
#include "signals/SignalFile.h"

namespace handheld {

namespace {

constexpr const char* kAlarmMacro = "Alarm";

}  // namespace

void IrPutCommand::declare(CLI::App& command) {
    describe(
        "Stores a signal file (LIRC mode2, Pronto hex, IR signals file, LIRC remote file) as signal NAME\n"
        "in a codebase of the alarms folder, created when missing (an alarm's infrared commands\n"
        "are the macro \"Alarm\" of its codebase). The repeat start is where the frame that later\n"
        "passes send begins: a macro's repeat:N sends N passes, the first the whole signal, and\n"
        "holding sends passes while held. A LIRC button repeats as its remote does when held;\n"
        "a mode2 file is all frame unless --repeat-start says where its repeat begins.\n"
        "A codebase without the macro \"Alarm\" gets one that sends this signal.");
    command.add_option("CODEBASE", codebase_, "the codebase")->required();
    command.add_option("NAME", name_, "the signal's name")->required();
    command.add_option("FILE", file_, "the signal file")->required();
    command.add_option("--button", button_, "the signal of an IR signals file, or the button of a LIRC remote file, to store")->type_name("NAME");
    repeat_start_option_ = add_number(command, "--repeat-start", repeat_start_, 0, 65535,
                                      "the duration the repeated frame starts at (0: all; default: the file's frame)",
                                      "a duration index");
    command.add_flag("--add-part", add_part_, "keep the signal there and add this one as its next part");
    command.footer("example:\n  handheld ir put 7 TV tv.mode2 --repeat-start 68");
}

namespace {

platform::card::signal_data record_of(InfraredSignal signal) {
    signal.close_frame();
    // A file with a lead-in (Pronto's intro pairs) repeats from its frame unless told otherwise.
    return {signal.durations(), static_cast<std::uint16_t>(signal.intro.size()), signal.carrier_us()};
}

}  // namespace

std::optional<IrPutCommand::Parts> IrPutCommand::read_signal(const std::string& path, const std::string& button,
                                                               std::string& error) {
    SignalFileResult read = SignalFile::Read(path, button);
    if (!read.signal) {
        error = path + ": " + read.error;
        return std::nullopt;
    }
    Parts parts{record_of(*read.signal), std::nullopt};
    if (read.toggled) parts.next_press = record_of(*read.toggled);
    return parts;
}

ExitCode IrPutCommand::run(Console& console) {
    std::string error;
    auto parts = read_signal(file_, button_, error);
    if (!parts) return console.fail(error);
    platform::card::signal_data* signal = &parts->first;
    if (repeat_start_option_->count() > 0) signal->repeat_start = static_cast<std::uint16_t>(repeat_start_);

    platform::card::codebase_writer writer;
    if (const int opened = IrCodebases::open_for_writing(codebase_, writer); opened != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(opened));
    if (const int put = writer.put_signal(name_, *signal, !add_part_); put != platform::card::kOk)
        return console.fail("signal " + name_ + ": " + IrCodebases::describe(put));
    // A remote that inverts toggle bits from press to press: the next press is the second
    // part, which a send that follows one of the same signal takes.
    const bool toggles = parts->next_press && !add_part_;
    if (toggles) {
        if (repeat_start_option_->count() > 0) parts->next_press->repeat_start = signal->repeat_start;
        if (const int put = writer.put_signal(name_, *parts->next_press, false); put != platform::card::kOk)
            return console.fail("signal " + name_ + ": " + IrCodebases::describe(put));
    }
    // A codebase is an alarm's once it has the macro "Alarm": the first signal put in one
    // becomes it, so that `alarm add --codebase` beams the button with nothing in between.
    const bool new_alarm_macro = writer.find_macro(kAlarmMacro) < 0;
    if (new_alarm_macro) {
        irvox::command_list alarm;
        alarm.add_reference(name_.c_str(), -1, -1, nullptr, nullptr);
        if (alarm.serialise_macro(kAlarmMacro) != 0) return console.fail("macro Alarm: cannot be written");
        if (const int put = writer.put_macro(kAlarmMacro, alarm.record()); put != platform::card::kOk)
            return console.fail("macro Alarm: " + IrCodebases::describe(put));
    }
    if (const int committed = writer.commit(); committed != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(committed));
    console.out() << "stored signal " << name_ << " (" << signal->durations.size() << " durations, carrier "
                  << signal->carrier_period << " us" << (toggles ? "; its next press, toggled, as part 1" : "")
                  << ") in codebase " << codebase_ << '\n';
    if (new_alarm_macro) console.out() << "added macro Alarm: signal:" << name_ << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
