#pragma once
// Walks an element stream held in memory and reports its elements, attributes and
// content values to the current handler, which steers the walk with its results.
// Decoded bytes and text borrow the input buffer, which must outlive them.
//
// Malformed input never reads outside the buffer: the parse ends with status -1 and
// one `error` call. Besides what is malformed by construction, the reader refuses text
// whose stored bytes do not end in a NUL (handlers treat text as C strings) and
// elements nested deeper than `max_depth` (each level costs the reader stack).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "irlib/meta/element_handler.h"
#include "irlib/meta/name_table.h"
#include "irlib/meta/value.h"

namespace meta {
class namespace_loader;
}

namespace meta::detail {

class reader_impl {
public:
    static constexpr int max_depth = 256;

    // Index names are looked up in `external` when given (it gathers names across
    // parses), else in the reader's own table.
    explicit reader_impl(name_table* external = nullptr);
    ~reader_impl();
    reader_impl(const reader_impl&) = delete;
    reader_impl& operator=(const reader_impl&) = delete;

    void set_handler(simple::element_handler* handler) { handler_ = handler; }
    simple::element_handler* handler() const { return handler_; }

    // 0 when the stream was read to its end or to a byte 0xFF; -1 when it was malformed
    // or a handler aborted.
    int parse(const std::uint8_t* buffer, std::size_t size);
    int status() const { return status_; }

    // The table index names resolve against in this reader.
    name_table& names() { return external_names_ ? *external_names_ : names_; }

    // Ends the parse as malformed: status -1 and one `error` call to the current handler.
    // For handlers that find the input malformed in a way only they can tell.
    void report_format_error();

private:
    enum class flow { next, stop };

    flow read_element(int depth);
    flow announce_element(const char* name, const std::uint8_t* start, bool& started_skip);
    flow read_attributes(bool& started_skip);
    flow read_children(int depth, bool& started_skip);
    flow finish_element(const char* name, bool started_skip);
    // Applies one handler result: abort stops, skip starts skipping.
    flow follow(simple::handler_result result, bool& started_skip);

    bool read_name(const char*& name);
    bool read_value(value& v);
    bool read_length(std::size_t width, std::uint32_t& length);
    bool read_payload(value_kind kind, std::uint32_t length, value& v);
    bool take(std::uint8_t& byte);
    bool peek(std::uint8_t& byte) const;
    flow fail();
    void install_loader();
    void drop_loader();

    bool first_element_ = true;
    bool skipping_ = false;
    int status_ = 0;
    name_table* external_names_;
    name_table names_;
    simple::element_handler* handler_ = nullptr;
    std::unique_ptr<namespace_loader> loader_;
    bool failed_ = false;

    const std::uint8_t* begin_ = nullptr;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
};

}  // namespace meta::detail
