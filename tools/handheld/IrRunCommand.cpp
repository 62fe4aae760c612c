#include "IrRunCommand.h"

#include "InfraredPort.h"
#include "IrCodebases.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/irvox/context.h"

namespace handheld {

namespace {

// Counts the signals a run sends, from the context's progress reports.
struct SendCounter {
    int sent = 0;
    void on_progress(int sending) {
        if (sending == 0) ++sent;
    }
};

}  // namespace

void IrRunCommand::declare(CLI::App& command) {
    describe(
        "Runs a macro of a codebase of the alarms folder through the infrared driver, as the\n"
        "alert program does at alarm time: a failed step is passed over unless --stop-at-error.");
    command.add_option("CODEBASE", codebase_, "the codebase")->required();
    command.add_option("MACRO", macro_, "the macro's name")->required();
    command.add_flag("--stop-at-error", stop_at_error_, "stop at the first failed step, as the main program's test");
    command.add_option("--port", port_, "the serial port (default: the profile's infrared port)")->type_name("COMn:");
    command.footer("example:\n  handheld ir run 7 Alarm && handheld ir log");
}

std::string IrRunCommand::describe_state(int state, int code) {
    using irvox::context;
    switch (state) {
    case context::kOk: return "sent";
    case context::kMalformedMacro: return "the macro record is malformed";
    case context::kNothingToSend: return "a signal cannot be decoded, or the macro has no record";
    case context::kCodebaseUnopened: return "the codebase cannot be opened: " + IrCodebases::describe(code);
    case context::kDriverFailed: return "the infrared driver failed with code " + std::to_string(code);
    case context::kNoDriver: return "the handheld's processor has no infrared driver";
    case context::kNotRegistered: return "there is no such codebase";
    case context::kNotInCodebase: return "a signal or macro is not in the codebase";
    default: return "state " + std::to_string(state);
    }
}

ExitCode IrRunCommand::run(Console& console) {
    IrCodebases::select();
    CIrDrvr* driver = GetIrDriver();
    if (driver != nullptr)
        driver->SetPortName(InfraredPort::Chosen(port_).c_str());
    SendCounter counter;
    int state = 0;
    int code = 0;
    {
        irvox::context macro;
        macro.set_on_progress(irvox::context::progress_callback(&counter, &SendCounter::on_progress));
        macro.select_codebase(codebase_);
        macro.load_macro_record(macro_);
        macro.run_macro(1, !stop_at_error_);
        state = macro.state();
        code = macro.code();
    }
    ReleaseIrDriver();
    if (state != irvox::context::kOk) return console.fail("macro " + macro_ + ": " + describe_state(state, code));
    console.out() << "ran macro " << macro_ << ": " << counter.sent << (counter.sent == 1 ? " signal" : " signals")
                  << console.called(" sent; see `handheld ir log`") << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
