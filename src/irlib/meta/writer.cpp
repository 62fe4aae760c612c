#include "irlib/meta/writer.h"

namespace meta::simple {

handler_result writer::start_element(const char* name) {
    impl_.begin_element(name);
    return handler_result::proceed;
}

handler_result writer::raw_element(const char*, const std::uint8_t*, std::size_t) { return handler_result::proceed; }

handler_result writer::end_element(const char*) {
    impl_.end_element();
    return handler_result::proceed;
}

handler_result writer::attribute(const char* name, const value& v) {
    impl_.attribute(name, v);
    return handler_result::proceed;
}

handler_result writer::content(const value& v) {
    impl_.content(v);
    return handler_result::proceed;
}

handler_result writer::error(const parse_exception&) { return handler_result::abort; }

}  // namespace meta::simple
