#pragma once
// Runs stored macros: the codebase in use, the signal being prepared for the infrared
// driver, and the outcome of the run as a state and a code. Every operation does
// nothing once the state is not kOk, so the first failure of a command stops the rest
// of it; the caller reads the outcome afterwards. Everything runs on the caller's
// thread and blocks until sent.
//
//   irvox::context run;
//   run.select_codebase("7");
//   run.load_macro_record("Alarm");
//   run.run_macro(1, true);
//   run.state(), run.code()

#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include <loki/Functor.h>

#include "irlib/card/signal_record.h"

namespace platform::card {
class codebase;
}

namespace irvox {

class context {
public:
    // Called with 1 before a signal is sent and with 0 after.
    using progress_callback = Loki::Functor<void, LOKI_TYPELIST_1(int)>;

    // States, with the code each one carries.
    static constexpr int kOk = 0;
    static constexpr int kMalformedMacro = 1;  // code kMalformedMacroCode
    static constexpr int kNothingToSend = 2;   // the signal does not decode, or no macro record
    static constexpr int kCodebaseUnopened = 3;  // code: the codebase layer's open error
    static constexpr int kDriverFailed = 4;    // code: the driver's result
    static constexpr int kNoDriver = 5;        // no infrared driver for this handheld
    static constexpr int kNotRegistered = 6;   // no codebase of that name
    static constexpr int kNotInCodebase = 8;   // no signal or macro of that name
    static constexpr int kMalformedMacroCode = 1000;

    // A repeat count from a sending time stops at this many passes.
    static constexpr std::int32_t kMostPasses = 5001;

    context();
    ~context();
    context(const context&) = delete;
    context& operator=(const context&) = delete;

    // Opens codebase `name` read-only and owns it.
    void select_codebase(std::string_view name);
    // Uses a codebase someone else owns (and keeps open meanwhile).
    void use_codebase(platform::card::codebase* codebase);
    void load_macro_record(std::string_view name);
    // Runs the loaded macro; macro references inside run with `budget` − 1 (none at 1).
    // With `continue_after_errors` every command runs whatever failed before it.
    void run_macro(int budget, bool continue_after_errors);
    // Prepares signal `name`. Sending the same name twice in a row (in any context of
    // the process) takes its next part: a two-part signal alternates.
    void select_signal(std::string_view name);
    // Sends the prepared signal `repeat_count` times (its low 16 bits reach the driver:
    // -1 is 65535, one pass).
    void send(std::int32_t repeat_count, int hold_key);
    // Sends the prepared signal for about `milliseconds`, in whole passes.
    void send_for(std::int32_t milliseconds, int hold_key);

    int state() const { return state_; }
    int code() const { return code_; }
    void set_outcome(int state, int code);

    // A stop requested through `stop` ends the run before its next command and cuts a
    // pause short; a signal being sent is sent to its end. Macros it runs inherit it.
    void set_stop_token(std::stop_token stop) { stop_ = std::move(stop); }
    const std::stop_token& stop_token() const { return stop_; }
    bool stop_requested() const { return stop_.stop_requested(); }
    // Waits `milliseconds` as Sleep does (virtual time while a driver is at work), in
    // short slices so that a stop is seen within one of them.
    void pause(std::int32_t milliseconds) const;

    void set_on_progress(const progress_callback& callback) { on_progress_ = callback; }
    const progress_callback& on_progress() const { return on_progress_; }
    platform::card::codebase* codebase_in_use() const { return codebase_; }
    const platform::card::signal_data& prepared_signal() const { return signal_; }

    // The passes a sending time takes: the durations walked from the start, then from
    // `repeat_start` again at each end, until their lengths add up to the time; at least
    // one, at most kMostPasses.
    static std::int32_t passes_for(std::span<const std::int32_t> durations, std::uint16_t repeat_start,
                                   std::int64_t milliseconds);
    // Forgets the signal sent last, so the next one starts at its first part.
    static void forget_last_signal();

private:
    void release_codebase();
    bool failed() const { return state_ != kOk; }

    platform::card::codebase* codebase_ = nullptr;
    std::unique_ptr<platform::card::codebase> owned_codebase_;
    std::string codebase_name_;
    platform::card::signal_data signal_;
    std::uint16_t repeat_count_ = 3;
    std::vector<std::uint8_t> record_;
    int state_ = kOk;
    int code_ = 0;
    progress_callback on_progress_;
    std::stop_token stop_;
};

}  // namespace irvox
