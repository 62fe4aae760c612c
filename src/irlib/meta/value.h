#pragma once
// One typed value of an element stream: an attribute's value or a content value.
// Bytes and text either borrow memory owned elsewhere (the reader hands out views into
// its input buffer, which must outlive them) or own a private heap copy.

#include <cstddef>
#include <cstdint>

namespace meta {

enum class value_kind : std::int32_t {
    none = 0,
    u8 = 1,
    u16 = 2,
    u32 = 3,
    i32 = 4,  // the reader produces this kind for every 32-bit value
    boolean = 5,
    bytes = 6,
    text = 7,
};

// Who owns the payload of a bytes or text value.
enum value_flags : std::uint32_t {
    borrowed = 2,
    owned = 4,
};

class value {
public:
    value() = default;
    value(const value& other);
    value(value&& other) noexcept;
    value& operator=(const value& other);
    value& operator=(value&& other) noexcept;
    ~value();

    static value make_u8(std::uint8_t number);
    static value make_u16(std::uint16_t number);
    static value make_u32(std::uint32_t number);
    static value make_i32(std::int32_t number);
    static value make_boolean(bool flag);
    // A null pointer gives an empty value (length 0, borrowed) whatever `ownership` says.
    static value make_bytes(const void* data, std::uint32_t size, value_flags ownership);
    // `size` counts the terminating NUL, which the caller's bytes must contain.
    static value make_text(const char* data, std::uint32_t size, value_flags ownership);
    // From a NUL-terminated string: the length is the string length + 1.
    static value make_text(const char* text, value_flags ownership);

    value_kind kind() const { return kind_; }
    // The ownership of a bytes or text payload; 0 for the other kinds.
    std::uint32_t flags() const { return flags_; }

    std::uint8_t as_u8() const { return static_cast<std::uint8_t>(number_); }
    std::uint16_t as_u16() const { return static_cast<std::uint16_t>(number_); }
    std::int16_t as_i16() const { return static_cast<std::int16_t>(as_u16()); }
    std::uint32_t as_u32() const { return number_; }
    std::int32_t as_i32() const { return static_cast<std::int32_t>(number_); }
    bool as_boolean() const { return number_ != 0; }

    // The payload of a bytes or text value (null when empty or of another kind).
    const std::uint8_t* data() const { return data_; }
    // Payload length in bytes; for text it includes the terminating NUL.
    std::uint32_t size() const { return size_; }
    // The text of a text value; null for every other kind and for an empty text.
    const char* text() const;

private:
    value(value_kind kind, std::uint32_t number) : kind_(kind), number_(number) {}
    void assign_payload(value_kind kind, const void* data, std::uint32_t size, value_flags ownership);
    void release();

    value_kind kind_ = value_kind::none;
    std::uint32_t flags_ = 0;
    std::uint32_t number_ = 0;
    const std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
};

}  // namespace meta
