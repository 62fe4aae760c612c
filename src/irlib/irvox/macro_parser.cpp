#include "irlib/irvox/macro_parser.h"

#include <cstring>

#include "irlib/irvox/context.h"
#include "irlib/irvox/macro_reader.h"

namespace irvox {

namespace {

using meta::simple::handler_result;

bool is(const char* name, const char* wanted) { return std::strcmp(name, wanted) == 0; }

// Every reference is sent with the hold flag 1: once its least passes are made, the
// driver keeps sending while virtual key 1 is down.
constexpr int kHoldKey = 1;

}  // namespace

macro_parser::macro_parser(context& outcome, int budget, bool continue_after_errors)
    : context_(outcome), collector_(nullptr), budget_(budget), continue_after_errors_(continue_after_errors) {}

macro_parser::macro_parser(context& outcome, macro_reader& collector, int budget, bool continue_after_errors)
    : context_(outcome), collector_(&collector), budget_(budget), continue_after_errors_(continue_after_errors) {}

handler_result macro_parser::start_element(const char* name) {
    if (is(name, "macro")) {
        element_ = element::macro;
    } else if (is(name, "reference")) {
        element_ = element::reference;
        base_ = signal_ = macro_ = comment_ = meta::value();
        duration_ = repeat_ = command::kNotGiven;
    } else if (is(name, "delay")) {
        element_ = element::delay;
        delay_ms_ = command::kNotGiven;
    } else if (is(name, "action")) {
        element_ = element::action;
        action_id_ = meta::value();
    } else {
        element_ = element::other;
    }
    return handler_result::proceed;
}

handler_result macro_parser::raw_element(const char*, const std::uint8_t*, std::size_t) {
    return handler_result::proceed;
}

// Times are stored as unsigned 16-bit numbers and read back as such: a 40-second pause
// or hold stays 40 seconds instead of turning negative and being dropped.
void macro_parser::reference_attribute(const char* name, const meta::value& v) {
    if (is(name, "base")) base_ = command::owned_text(v.text());
    else if (is(name, "signal")) signal_ = command::owned_text(v.text());
    else if (is(name, "macro")) macro_ = command::owned_text(v.text());
    else if (is(name, "comment")) comment_ = command::owned_text(v.text());
    else if (is(name, "duration")) {
        duration_ = v.as_u16();
        repeat_ = command::kByDuration;
    } else if (is(name, "repeat")) {
        repeat_ = v.as_u16();
    }
}

handler_result macro_parser::attribute(const char* name, const meta::value& v) {
    switch (element_) {
    case element::reference: reference_attribute(name, v); break;
    case element::delay:
        if (is(name, "ms")) delay_ms_ = v.as_u16();
        break;
    case element::action:
        if (is(name, "id")) action_id_ = command::owned_text(v.text());
        break;
    default: break;
    }
    return handler_result::proceed;
}

handler_result macro_parser::content(const meta::value&) { return handler_result::proceed; }

handler_result macro_parser::end_element(const char* name) {
    if (is(name, "macro")) return handler_result::abort;  // the first macro is the whole record
    if (is(name, "reference")) element_ = element::reference;
    else if (is(name, "delay")) element_ = element::delay;
    else if (is(name, "action")) element_ = element::action;
    else return handler_result::proceed;

    if (collector_ != nullptr) collect();
    else if (context_.stop_requested()) return handler_result::abort;
    else if (element_ == element::reference) execute_reference();
    else if (element_ == element::delay) execute_delay();
    // An action has no effect on this handheld.
    return handler_result::proceed;
}

handler_result macro_parser::error(const meta::parse_exception&) {
    context_.set_outcome(context::kMalformedMacro, context::kMalformedMacroCode);
    return handler_result::abort;
}

// Each command is handed over whole: fields its element does not carry are reset, so
// a delay read after a reference does not carry that reference's names along.
void macro_parser::collect() {
    command& c = collector_->current();
    c = command();
    switch (element_) {
    case element::reference:
        c.kind = command::kReference;
        c.id = command::is_set(signal_) ? signal_ : macro_;
        c.base = base_;
        c.comment = comment_;
        c.duration = duration_;
        c.repeat = repeat_;
        break;
    case element::delay:
        c.kind = command::kDelay;
        c.duration = delay_ms_;
        break;
    default:
        c.kind = command::kAction;
        c.id = action_id_;
        break;
    }
    collector_->on_command();
}

void macro_parser::execute_reference() {
    if (context_.state() != context::kOk) return;
    context child;
    child.set_on_progress(context_.on_progress());
    child.set_stop_token(context_.stop_token());
    const bool signal_reference = command::is_set(signal_);
    context* target = &context_;
    if (command::is_set(base_)) {
        child.select_codebase(command::text_of(base_));
        target = &child;
    } else if (!signal_reference) {
        child.use_codebase(context_.codebase_in_use());
        target = &child;
    }

    if (signal_reference) {
        target->select_signal(command::text_of(signal_));
        if (duration_ >= 1) target->send_for(duration_, kHoldKey);
        else target->send(repeat_, kHoldKey);
    } else {
        target->load_macro_record(command::text_of(macro_));
        target->run_macro(budget_ - 1, continue_after_errors_);
    }

    if (target == &child) context_.set_outcome(child.state(), child.code());
    if (continue_after_errors_) context_.set_outcome(context::kOk, 0);
}

void macro_parser::execute_delay() {
    if (context_.state() != context::kOk || delay_ms_ < 1) return;
    context_.pause(delay_ms_);
}

}  // namespace irvox
