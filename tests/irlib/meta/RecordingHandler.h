#pragma once
// A test handler that writes down every event it receives as one line of text and
// answers each with what its policy says (proceed unless told otherwise).

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "irlib/meta/element_handler.h"

namespace meta::testing {

inline std::string describe(const value& v) {
    char number[32];
    switch (v.kind()) {
    case value_kind::none:
        return "none";
    case value_kind::u8:
        std::snprintf(number, sizeof number, "u8:%u", v.as_u8());
        return number;
    case value_kind::u16:
        std::snprintf(number, sizeof number, "u16:%u", v.as_u16());
        return number;
    case value_kind::u32:
        std::snprintf(number, sizeof number, "u32:%u", v.as_u32());
        return number;
    case value_kind::i32:
        std::snprintf(number, sizeof number, "i32:%d", v.as_i32());
        return number;
    case value_kind::boolean:
        return v.as_boolean() ? "true" : "false";
    case value_kind::bytes: {
        std::string out = "bytes:";
        for (std::uint32_t i = 0; i < v.size(); ++i) {
            std::snprintf(number, sizeof number, "%02X", v.data()[i]);
            out += number;
        }
        return out;
    }
    case value_kind::text:
        return std::string("text:") + (v.text() ? v.text() : "(empty)");
    }
    return "?";
}

class RecordingHandler : public simple::element_handler {
public:
    using Policy = std::function<simple::handler_result(const std::string& event)>;

    std::vector<std::string> events;
    Policy policy;
    int errors = 0;

    simple::handler_result start_element(const char* name) override { return note("start " + std::string(name)); }
    simple::handler_result raw_element(const char* name, const std::uint8_t*, std::size_t available) override {
        return note("raw " + std::string(name) + " " + std::to_string(available));
    }
    simple::handler_result end_element(const char* name) override { return note("end " + std::string(name)); }
    simple::handler_result attribute(const char* name, const value& v) override {
        return note("attr " + std::string(name) + "=" + describe(v));
    }
    simple::handler_result content(const value& v) override { return note("content " + describe(v)); }
    simple::handler_result error(const parse_exception& e) override {
        ++errors;
        return note("error " + std::string(e.what()));
    }

private:
    simple::handler_result note(const std::string& event) {
        events.push_back(event);
        return policy ? policy(event) : simple::handler_result::proceed;
    }
};

}  // namespace meta::testing
