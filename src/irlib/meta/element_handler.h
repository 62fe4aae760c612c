#pragma once
// What a reader reports to while it walks a stream, and how the handler steers it.

#include <cstddef>
#include <cstdint>

#include "irlib/meta/parse_exception.h"
#include "irlib/meta/value.h"

namespace meta::simple {

enum class handler_result : std::int32_t {
    proceed = 0,
    ask_again = 1,  // start only: ask the handler that is current then, again
    abort = 2,      // end the whole parse, status -1
    skip = 3,       // no further events until this element's end (which is silent too)
    raw = 4,        // start only: hand the element's bytes to `raw_element` instead
};

class element_handler {
public:
    virtual ~element_handler() = default;

    virtual handler_result start_element(const char* name) = 0;
    // `start` is the element's first byte; `available` counts the bytes from there to
    // the end of the buffer (more than the element itself when siblings follow).
    virtual handler_result raw_element(const char* name, const std::uint8_t* start, std::size_t available) = 0;
    virtual handler_result end_element(const char* name) = 0;
    virtual handler_result attribute(const char* name, const value& v) = 0;
    virtual handler_result content(const value& v) = 0;
    // Called once when the input turns out malformed; the parse ends after it.
    virtual handler_result error(const parse_exception& e) = 0;
};

}  // namespace meta::simple
