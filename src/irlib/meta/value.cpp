#include "irlib/meta/value.h"

#include <cstring>
#include <utility>

namespace meta {

value::value(const value& other) : kind_(other.kind_), number_(other.number_) {
    if (other.kind_ == value_kind::bytes || other.kind_ == value_kind::text) {
        assign_payload(other.kind_, other.data_, other.size_, static_cast<value_flags>(other.flags_));
    }
}

value::value(value&& other) noexcept
    : kind_(other.kind_), flags_(other.flags_), number_(other.number_), data_(other.data_), size_(other.size_) {
    other.kind_ = value_kind::none;
    other.flags_ = 0;
    other.data_ = nullptr;
    other.size_ = 0;
}

value& value::operator=(const value& other) {
    if (this != &other) {
        value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

value& value::operator=(value&& other) noexcept {
    if (this != &other) {
        release();
        kind_ = std::exchange(other.kind_, value_kind::none);
        flags_ = std::exchange(other.flags_, 0);
        number_ = other.number_;
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

value::~value() { release(); }

value value::make_u8(std::uint8_t number) { return value(value_kind::u8, number); }
value value::make_u16(std::uint16_t number) { return value(value_kind::u16, number); }
value value::make_u32(std::uint32_t number) { return value(value_kind::u32, number); }
value value::make_i32(std::int32_t number) { return value(value_kind::i32, static_cast<std::uint32_t>(number)); }
value value::make_boolean(bool flag) { return value(value_kind::boolean, flag ? 1 : 0); }

value value::make_bytes(const void* data, std::uint32_t size, value_flags ownership) {
    value result;
    result.assign_payload(value_kind::bytes, data, size, ownership);
    return result;
}

value value::make_text(const char* data, std::uint32_t size, value_flags ownership) {
    value result;
    result.assign_payload(value_kind::text, data, size, ownership);
    return result;
}

value value::make_text(const char* text, value_flags ownership) {
    const auto size = text ? static_cast<std::uint32_t>(std::strlen(text) + 1) : 0U;
    return make_text(text, size, ownership);
}

const char* value::text() const {
    if (kind_ != value_kind::text || size_ == 0) return nullptr;
    return reinterpret_cast<const char*>(data_);
}

void value::assign_payload(value_kind kind, const void* data, std::uint32_t size, value_flags ownership) {
    kind_ = kind;
    if (!data) {
        flags_ = borrowed;
        data_ = nullptr;
        size_ = 0;
        return;
    }
    size_ = size;
    if (ownership == owned) {
        flags_ = owned;
        auto* copy = new std::uint8_t[size == 0 ? 1 : size];
        std::memcpy(copy, data, size);
        data_ = copy;
    } else {
        flags_ = borrowed;
        data_ = static_cast<const std::uint8_t*>(data);
    }
}

void value::release() {
    if (flags_ == owned) delete[] data_;
    data_ = nullptr;
    size_ = 0;
    flags_ = 0;
}

}  // namespace meta
