#include "irlib/irvox/context.h"

#include <algorithm>
#include <cstdlib>

#include "ce/Thread.h"

#include "irdriver/IrDriverInstance.h"
#include "irlib/card/codebase.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/macro_parser.h"
#include "irlib/irvox/macro_record.h"
#include "irlib/meta/reader_impl.h"

namespace irvox {

namespace {

// The name of the signal sent last, shared by every context of the process: a signal
// of two parts (a toggle bit) is sent with the other part when it follows itself.
std::string& last_signal() {
    static std::string name;
    return name;
}

// Long enough that a long pause costs few calls, short enough that a stop is taken at once.
constexpr std::int32_t kPauseSliceMs = 50;

std::string_view without_dollar(std::string_view name) {
    if (!name.empty() && name.front() == '$') name.remove_prefix(1);
    return name;
}

}  // namespace

context::context() = default;

void context::pause(std::int32_t milliseconds) const {
    for (std::int32_t left = milliseconds; left > 0 && !stop_requested(); left -= kPauseSliceMs)
        ce::Sleep(static_cast<ce::DWORD>(std::min(left, kPauseSliceMs)));
}

context::~context() { release_codebase(); }

void context::forget_last_signal() { last_signal().clear(); }

void context::set_outcome(int state, int code) {
    state_ = state;
    code_ = code;
}

void context::release_codebase() {
    codebase_ = nullptr;
    owned_codebase_.reset();
    codebase_name_.clear();
}

void context::select_codebase(std::string_view name) {
    if (failed()) return;
    release_codebase();
    auto opened = std::make_unique<platform::card::codebase>();
    if (const int result = opened->open(name); result != platform::card::kOk) {
        if (result == platform::card::kNotFound) set_outcome(kNotRegistered, 0);
        else set_outcome(kCodebaseUnopened, result);
        return;
    }
    owned_codebase_ = std::move(opened);
    codebase_ = owned_codebase_.get();
    codebase_name_ = name;
}

void context::use_codebase(platform::card::codebase* codebase) {
    if (failed()) return;
    release_codebase();
    codebase_ = codebase;
}

void context::load_macro_record(std::string_view name) {
    if (failed()) return;
    const int index = codebase_ == nullptr ? -1 : codebase_->find_macro(without_dollar(name));
    if (index <= 0) return set_outcome(kNotInCodebase, 0);
    const auto bytes = codebase_->record(index);
    record_.assign(bytes.begin(), bytes.end());
}

void context::run_macro(int budget, bool continue_after_errors) {
    if (failed() || budget <= 0) return;
    if (record_.empty()) return set_outcome(kNothingToSend, 0);
    const auto stream = macro_record::stream(record_);
    meta::detail::reader_impl reader;
    macro_parser parser(*this, budget, continue_after_errors);
    reader.set_handler(&parser);
    reader.parse(stream.data(), stream.size());  // ends in abort after the macro element
}

void context::select_signal(std::string_view name) {
    if (failed()) return;
    const int index = codebase_ == nullptr ? -1 : codebase_->find_signal(name);
    if (index <= 0) return set_outcome(kNotInCodebase, 0);
    int part = 0;
    if (last_signal() == name) {
        part = 1;
        last_signal().clear();
    } else {
        last_signal() = name;
    }
    if (codebase_->decode_signal(index, part) != platform::card::kOk) {
        signal_ = {};
        return set_outcome(kNothingToSend, 0);
    }
    signal_ = codebase_->decoded_signal();
}

void context::send(std::int32_t repeat_count, int hold_key) {
    if (failed()) return;
    repeat_count_ = static_cast<std::uint16_t>(repeat_count);
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return set_outcome(kNoDriver, 0);

    // The driver keeps at most its own number of durations; more are not sent.
    const auto count = static_cast<std::uint16_t>(std::min<std::size_t>(signal_.durations.size(), 0xFFFF));
    if (const int result = driver->SetSignal(signal_.durations.data(), count, signal_.repeat_start,
                                             signal_.carrier_period);
        result != kIrOk) {
        set_outcome(kDriverFailed, result);
        if (result != kIrPortUnavailable) driver->Close();
        return;
    }
    if (on_progress_) on_progress_(1);
    const int sent = driver->Send(repeat_count_, hold_key);
    if (on_progress_) on_progress_(0);
    if (sent != kIrOk) set_outcome(kDriverFailed, sent);
    driver->Close();
}

void context::send_for(std::int32_t milliseconds, int hold_key) {
    if (failed()) return;
    send(passes_for(signal_.durations, signal_.repeat_start, milliseconds), hold_key);
}

std::int32_t context::passes_for(std::span<const std::int32_t> durations, std::uint16_t repeat_start,
                                 std::int64_t milliseconds) {
    const std::int64_t wanted_us = milliseconds * 1000;
    if (repeat_start >= durations.size() || wanted_us <= 0) return 1;
    // 64-bit sums: lengths of whole int32 durations, thousands of passes over them.
    std::int64_t total_us = 0;
    std::int32_t passes = 0;
    std::size_t i = 0;
    while (total_us < wanted_us && passes < kMostPasses) {
        total_us += std::llabs(durations[i]);
        if (++i == durations.size()) {
            ++passes;
            i = repeat_start;
        }
    }
    return passes < 1 ? 1 : passes;
}

}  // namespace irvox
