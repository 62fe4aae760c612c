#pragma once
// Turns element events into the bytes of an element stream. Names are written inline,
// or as indexes into a name table when one is given. Nesting is the caller's to pair.

#include "irlib/meta/name_table.h"
#include "irlib/meta/obinstream.h"
#include "irlib/meta/value.h"

namespace meta::detail {

class writer_impl {
public:
    explicit writer_impl(obinstream& out, name_table* names = nullptr) : out_(out), names_(names) {}

    void begin_element(const char* name);
    void attribute(const char* name, const value& v);
    void content(const value& v);
    void end_element();

    // One value with its tag.
    void write_value(const value& v);

private:
    void write_name(const char* name);
    void write_payload(std::uint8_t short_tag, std::uint8_t long_tag, const value& v);
    void write_u16(std::uint16_t number);
    void write_u32(std::uint32_t number);

    obinstream& out_;
    name_table* names_;
};

}  // namespace meta::detail
