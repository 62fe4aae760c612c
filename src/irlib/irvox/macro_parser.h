#pragma once
// Reads the element stream of a macro record. Each command is complete when its element
// ends: a collecting parser hands it to its macro_reader, an executing one carries it out
// in its context. Only the first "macro" element is read; unknown elements and
// attributes are passed over.

#include <cstdint>

#include "irlib/irvox/command.h"
#include "irlib/meta/element_handler.h"

namespace irvox {

class context;
class macro_reader;

class macro_parser : public meta::simple::element_handler {
public:
    // Executes the commands in `outcome`; macro references run with `budget` − 1.
    macro_parser(context& outcome, int budget, bool continue_after_errors);
    // Hands the commands to `collector`; `outcome` only records a malformed stream.
    macro_parser(context& outcome, macro_reader& collector, int budget, bool continue_after_errors);

    using handler_result = meta::simple::handler_result;
    handler_result start_element(const char* name) override;
    handler_result raw_element(const char* name, const std::uint8_t* start, std::size_t available) override;
    handler_result end_element(const char* name) override;
    handler_result attribute(const char* name, const meta::value& v) override;
    handler_result content(const meta::value& v) override;
    handler_result error(const meta::parse_exception& e) override;

private:
    enum class element { macro = 0, reference = 1, delay = 2, action = 3, other = 4 };

    void reference_attribute(const char* name, const meta::value& v);
    void collect();
    void execute_reference();
    void execute_delay();

    context& context_;
    macro_reader* collector_;
    int budget_;
    bool continue_after_errors_;
    element element_ = element::other;

    // What the current element's attributes gave.
    meta::value base_;
    meta::value signal_;
    meta::value macro_;
    meta::value comment_;
    std::int32_t duration_ = command::kNotGiven;
    std::int32_t repeat_ = command::kNotGiven;
    std::int32_t delay_ms_ = command::kNotGiven;
    meta::value action_id_;
};

}  // namespace irvox
