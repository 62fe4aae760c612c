#include "irlib/meta/namespace_loader.h"

#include "irlib/meta/reader_impl.h"

namespace meta {

using simple::handler_result;

handler_result namespace_loader::start_element(const char*) {
    ++open_elements_;
    return handler_result::proceed;
}

handler_result namespace_loader::raw_element(const char*, const std::uint8_t*, std::size_t) {
    return handler_result::proceed;
}

handler_result namespace_loader::end_element(const char*) {
    if (--open_elements_ <= 0) hand_back();
    return handler_result::proceed;
}

handler_result namespace_loader::attribute(const char*, const value&) { return handler_result::proceed; }

handler_result namespace_loader::content(const value& v) {
    if (v.kind() != value_kind::text || !v.text()) {
        reader_.report_format_error();
        return handler_result::abort;
    }
    names_.add(v.text());
    return handler_result::proceed;
}

handler_result namespace_loader::error(const parse_exception& e) {
    const parse_exception copy(e);
    simple::element_handler* previous = previous_;
    hand_back();
    if (previous) previous->error(copy);
    return handler_result::abort;
}

void namespace_loader::hand_back() {
    if (reader_.handler() == this) reader_.set_handler(previous_);
}

}  // namespace meta
