#include "irlib/meta/reader_impl.h"

#include <cstring>

#include "irlib/meta/namespace_loader.h"
#include "irlib/meta/stream_tags.h"

namespace meta::detail {

using simple::handler_result;

namespace {

constexpr char names_element[] = "?names";

bool starts_value(std::uint8_t byte) { return byte >= tags::first_value && byte <= tags::last_value; }

}  // namespace

reader_impl::reader_impl(name_table* external) : external_names_(external) {}

reader_impl::~reader_impl() = default;

int reader_impl::parse(const std::uint8_t* buffer, std::size_t size) {
    first_element_ = true;
    skipping_ = false;
    status_ = 0;
    failed_ = false;
    begin_ = pos_ = buffer;
    end_ = buffer ? buffer + size : buffer;
    std::uint8_t next = 0;
    while (peek(next) && next != tags::end_of_stream) {
        if (read_element(0) == flow::stop) {
            status_ = -1;
            break;
        }
    }
    drop_loader();
    return status_;
}

void reader_impl::report_format_error() {
    if (failed_) return;
    failed_ = true;
    status_ = -1;
    if (handler_) handler_->error(parse_exception());
}

reader_impl::flow reader_impl::fail() {
    report_format_error();
    return flow::stop;
}

reader_impl::flow reader_impl::read_element(int depth) {
    if (depth >= max_depth) return fail();
    const std::uint8_t* start = pos_;
    std::uint8_t byte = 0;
    if (!take(byte) || byte != tags::begin_element) return fail();
    const char* name = nullptr;
    if (!read_name(name)) return fail();
    if (first_element_ && std::strcmp(name, names_element) == 0) install_loader();
    first_element_ = false;

    bool started_skip = false;
    if (announce_element(name, start, started_skip) == flow::stop) return flow::stop;
    if (read_attributes(started_skip) == flow::stop) return flow::stop;
    if (read_children(depth, started_skip) == flow::stop) return flow::stop;
    if (!take(byte) || byte != tags::end_element) return fail();
    return finish_element(name, started_skip);
}

reader_impl::flow reader_impl::announce_element(const char* name, const std::uint8_t* start, bool& started_skip) {
    if (skipping_ || !handler_) return flow::next;
    handler_result result = handler_->start_element(name);
    while (result == handler_result::ask_again && handler_) result = handler_->start_element(name);
    if (result == handler_result::raw && handler_) {
        result = handler_->raw_element(name, start, static_cast<std::size_t>(end_ - start));
    }
    return follow(result, started_skip);
}

reader_impl::flow reader_impl::read_attributes(bool& started_skip) {
    std::uint8_t byte = 0;
    while (peek(byte) && byte == tags::attribute) {
        ++pos_;
        const char* name = nullptr;
        if (!read_name(name)) return fail();
        value v;
        if (!read_value(v)) return fail();
        if (!skipping_ && handler_ && follow(handler_->attribute(name, v), started_skip) == flow::stop) {
            return flow::stop;
        }
    }
    return flow::next;
}

reader_impl::flow reader_impl::read_children(int depth, bool& started_skip) {
    std::uint8_t byte = 0;
    while (peek(byte)) {
        if (byte == tags::begin_element) {
            if (read_element(depth + 1) == flow::stop) return flow::stop;
        } else if (starts_value(byte)) {
            value v;
            if (!read_value(v)) return fail();
            if (!skipping_ && handler_ && follow(handler_->content(v), started_skip) == flow::stop) {
                return flow::stop;
            }
        } else {
            break;
        }
    }
    return flow::next;
}

reader_impl::flow reader_impl::finish_element(const char* name, bool started_skip) {
    if (skipping_) {
        if (started_skip) skipping_ = false;
        return flow::next;
    }
    if (handler_ && handler_->end_element(name) == handler_result::abort) return flow::stop;
    return flow::next;
}

reader_impl::flow reader_impl::follow(handler_result result, bool& started_skip) {
    if (result == handler_result::abort) return flow::stop;
    if (result == handler_result::skip && !skipping_) {
        skipping_ = true;
        started_skip = true;
    }
    return flow::next;
}

bool reader_impl::read_name(const char*& name) {
    value v;
    if (!read_value(v)) return false;
    if (v.kind() == value_kind::text) {
        name = v.text();
    } else if (v.kind() == value_kind::u16) {
        name = names().name(v.as_u16());
    } else {
        return false;
    }
    return name != nullptr;
}

bool reader_impl::read_value(value& v) {
    std::uint8_t tag = 0;
    if (!take(tag)) return false;
    std::uint32_t number = 0;
    switch (tag) {
    case tags::none:
        v = value();
        return true;
    case tags::u8:
        if (!read_length(1, number)) return false;
        v = value::make_u8(static_cast<std::uint8_t>(number));
        return true;
    case tags::u16:
        if (!read_length(2, number)) return false;
        v = value::make_u16(static_cast<std::uint16_t>(number));
        return true;
    case tags::u32:
        if (!read_length(4, number)) return false;
        v = value::make_i32(static_cast<std::int32_t>(number));
        return true;
    case tags::boolean_true:
    case tags::boolean_false:
        v = value::make_boolean(tag == tags::boolean_true);
        return true;
    case tags::bytes_short:
    case tags::bytes_long:
        return read_length(tag == tags::bytes_short ? 1 : 4, number) && read_payload(value_kind::bytes, number, v);
    case tags::text_short:
    case tags::text_short_alt:
    case tags::text_long:
        return read_length(tag == tags::text_long ? 4 : 1, number) && read_payload(value_kind::text, number, v);
    default:
        return false;
    }
}

// A big-endian number of `width` bytes (a length, or the value of a number tag).
bool reader_impl::read_length(std::size_t width, std::uint32_t& length) {
    if (static_cast<std::size_t>(end_ - pos_) < width) return false;
    length = 0;
    for (std::size_t i = 0; i < width; ++i) length = (length << 8) | pos_[i];
    pos_ += width;
    return true;
}

bool reader_impl::read_payload(value_kind kind, std::uint32_t length, value& v) {
    if (static_cast<std::size_t>(end_ - pos_) < length) return false;
    const std::uint8_t* data = length ? pos_ : nullptr;
    // Handlers read text as C strings, so its NUL must lie inside the value.
    if (kind == value_kind::text && length && data[length - 1] != 0) return false;
    pos_ += length;
    v = kind == value_kind::text ? value::make_text(reinterpret_cast<const char*>(data), length, borrowed)
                                 : value::make_bytes(data, length, borrowed);
    return true;
}

bool reader_impl::take(std::uint8_t& byte) {
    if (!peek(byte)) return false;
    ++pos_;
    return true;
}

bool reader_impl::peek(std::uint8_t& byte) const {
    if (pos_ == end_) return false;
    byte = *pos_;
    return true;
}

void reader_impl::install_loader() {
    loader_ = std::make_unique<namespace_loader>(*this, handler_, names());
    handler_ = loader_.get();
}

void reader_impl::drop_loader() {
    if (!loader_) return;
    // A stream cut short inside "?names" never reached its end; hand back here instead.
    loader_->hand_back();
    loader_.reset();
}

}  // namespace meta::detail
