#include "irlib/meta/writer_impl.h"

#include <cstring>

#include "irlib/meta/stream_tags.h"

namespace meta::detail {

void writer_impl::begin_element(const char* name) {
    out_.put(tags::begin_element);
    write_name(name);
}

void writer_impl::attribute(const char* name, const value& v) {
    out_.put(tags::attribute);
    write_name(name);
    write_value(v);
}

void writer_impl::content(const value& v) { write_value(v); }

void writer_impl::end_element() { out_.put(tags::end_element); }

void writer_impl::write_value(const value& v) {
    switch (v.kind()) {
    case value_kind::none:
        // Written as its tag, so that an attribute without a value still reads back as
        // one instead of swallowing the byte that follows.
        out_.put(tags::none);
        return;
    case value_kind::u8:
        out_.put(tags::u8);
        out_.put(v.as_u8());
        return;
    case value_kind::u16:
        out_.put(tags::u16);
        write_u16(v.as_u16());
        return;
    case value_kind::u32:
    case value_kind::i32:
        out_.put(tags::u32);
        write_u32(v.as_u32());
        return;
    case value_kind::boolean:
        out_.put(v.as_boolean() ? tags::boolean_true : tags::boolean_false);
        return;
    case value_kind::bytes:
        write_payload(tags::bytes_short, tags::bytes_long, v);
        return;
    case value_kind::text:
        write_payload(tags::text_short, tags::text_long, v);
        return;
    }
}

void writer_impl::write_name(const char* name) {
    if (!name) name = "";
    if (names_) {
        std::uint16_t index = names_->find(name);
        if (index == 0) index = names_->add(name);
        // A full table cannot number the name; spelling it out keeps the stream readable.
        if (index != 0) {
            write_value(value::make_u16(index));
            return;
        }
    }
    write_value(value::make_text(name, borrowed));
}

// Payloads longer than the 1-byte length forms carry a 4-byte length, the one long form
// a reader accepts.
void writer_impl::write_payload(std::uint8_t short_tag, std::uint8_t long_tag, const value& v) {
    const std::uint32_t size = v.size();
    if (size <= tags::short_length_limit) {
        out_.put(short_tag);
        out_.put(static_cast<std::uint8_t>(size));
    } else {
        out_.put(long_tag);
        write_u32(size);
    }
    if (size) out_.write(v.data(), size);
}

void writer_impl::write_u16(std::uint16_t number) {
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    out_.write(bytes, sizeof bytes);
}

void writer_impl::write_u32(std::uint32_t number) {
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>(number >> 24), static_cast<std::uint8_t>(number >> 16),
                                  static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
    out_.write(bytes, sizeof bytes);
}

}  // namespace meta::detail
