#include "irlib/utils/unicode_converter.h"

#include "ce/Text.h"

namespace utils {

unicode_converter::unicode_converter(const char* text)
    : unicode_converter(text ? std::string_view(text) : std::string_view()) {}

unicode_converter::unicode_converter(std::string_view text) : wide_(ce::wide_from_ansi(text)) {}

}  // namespace utils
