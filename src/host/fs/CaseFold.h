#pragma once
// Case folding of device names: the handheld compares file names without regard to case,
// using the simple lowercase mapping of every Unicode character, not only of ASCII.

#include <string>
#include <string_view>

namespace host {

class CaseFold {
public:
    static char32_t fold(char32_t c);
    // Folds every code point; surrogate pairs are folded as the character they encode,
    // unpaired surrogates pass through unchanged.
    static std::u16string fold(std::u16string_view text);
    // Decodes to code points (unpaired surrogates kept as they are) and folds them.
    static std::u32string folded_code_points(std::u16string_view text);
};

}  // namespace host
