#pragma once
// UTF-16 text turned into 8-bit text in the handheld's ANSI code page, held as a private
// NUL-terminated copy for as long as the converter lives. Characters the code page
// lacks become '?'.

#include <string>
#include <string_view>

namespace utils {

class ascii_converter {
public:
    // A null string converts to the empty string.
    explicit ascii_converter(const char16_t* wide);
    explicit ascii_converter(std::u16string_view wide);

    const char* c_str() const { return text_.c_str(); }
    // Length without the terminating NUL.
    std::size_t size() const { return text_.size(); }

private:
    std::string text_;
};

}  // namespace utils
