#include "host/fs/CaseFold.h"

#include <locale.h>
#include <wctype.h>

namespace host {

namespace {

// The C.UTF-8 locale knows the lowercase of every character; without it only ASCII folds.
locale_t unicode_locale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void append_utf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace

char32_t CaseFold::fold(char32_t c) {
    if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c;
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return c;
    const locale_t locale = unicode_locale();
    if (locale == static_cast<locale_t>(nullptr)) return c;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
}

std::u32string CaseFold::folded_code_points(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (is_high_surrogate(c) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out += fold(c);
    }
    return out;
}

std::u16string CaseFold::fold(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char32_t c : folded_code_points(text)) append_utf16(out, c);
    return out;
}

}  // namespace host
