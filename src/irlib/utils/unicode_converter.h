#pragma once
// 8-bit text in the handheld's ANSI code page turned into UTF-16, held as a private
// NUL-terminated copy for as long as the converter lives.

#include <string>
#include <string_view>

namespace utils {

class unicode_converter {
public:
    // A null string converts to the empty string.
    explicit unicode_converter(const char* text);
    explicit unicode_converter(std::string_view text);

    const char16_t* c_str() const { return wide_.c_str(); }
    // Length in code units without the terminating NUL.
    std::size_t size() const { return wide_.size(); }
    const std::u16string& str() const { return wide_; }

private:
    std::u16string wide_;
};

}  // namespace utils
