#pragma once
// `handheld ir put CODEBASE NAME FILE [--repeat-start N] [--add-part]`: stores a signal
// read from a signal file (mode2, Pronto hex, IR signals file, LIRC remote file) in a
// codebase of the alarms folder, creating the codebase when there is none, and its
// macro "Alarm" sending the signal when it has none. A signal of that name is replaced,
// or with --add-part gets the new signal as its next part (the parts alternate from
// send to send).

#include <cstdint>
#include <optional>
#include <string>

#include "Verb.h"
#include "irlib/card/signal_record.h"

namespace handheld {

class IrPutCommand : public Verb {
public:
    IrPutCommand() : Verb("put", "store a signal file as a signal of a codebase") {}
    ExitCode run(Console& console) override;

    // The signal of a signal file, and of a LIRC remote that toggles bits from press to
    // press its next press; or nullopt with `error` saying why not.
    struct Parts {
        platform::card::signal_data first;
        std::optional<platform::card::signal_data> next_press;
    };
    static std::optional<Parts> read_signal(const std::string& path, const std::string& button, std::string& error);

private:
    void declare(CLI::App& command) override;

    std::string codebase_;
    std::string name_;
    std::string file_;
    std::string button_;
    std::uint32_t repeat_start_ = 0;
    CLI::Option* repeat_start_option_ = nullptr;
    bool add_part_ = false;
};

}  // namespace handheld
