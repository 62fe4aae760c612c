#include "irlib/utils/ascii_converter.h"

#include "ce/Text.h"

namespace utils {

ascii_converter::ascii_converter(const char16_t* wide)
    : ascii_converter(wide ? std::u16string_view(wide) : std::u16string_view()) {}

ascii_converter::ascii_converter(std::u16string_view wide) : text_(ce::ansi_from_wide(wide)) {}

}  // namespace utils
