#include "host/text/CodePage1252.h"

#include <bit>
#include <cerrno>

#include "host/text/IconvConverter.h"

namespace host {

namespace {

constexpr const char* kCodePage = "WINDOWS-1252";
constexpr const char* kWide = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

bool CodePage1252::is_undefined_byte(unsigned value) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

std::optional<std::u16string> CodePage1252::to_wide(std::string_view text) {
    thread_local IconvConverter converter(kWide, kCodePage);
    if (!converter.ok()) return std::nullopt;
    std::u16string wide(text.size(), u'\0');  // one unit per byte
    std::size_t read = 0;
    std::size_t written = 0;
    while (read < text.size()) {
        const auto step = converter.convert(text.data() + read, text.size() - read,
                                            reinterpret_cast<char*>(wide.data() + written),
                                            (wide.size() - written) * sizeof(char16_t));
        read += step.consumed;
        written += step.produced / sizeof(char16_t);
        if (step.error == 0) break;
        if (step.error != EILSEQ || read >= text.size()) return std::nullopt;
        // Only the undefined bytes are refused; Windows gives them the C1 control of the same value.
        wide[written++] = static_cast<char16_t>(static_cast<unsigned char>(text[read++]));
    }
    wide.resize(written);
    return wide;
}

std::optional<std::string> CodePage1252::to_ansi(std::u16string_view wide, char replacement, bool* replaced) {
    thread_local IconvConverter converter(kCodePage, kWide);
    if (!converter.ok()) return std::nullopt;
    std::string text(wide.size(), '\0');  // at most one byte per unit
    std::size_t read = 0;
    std::size_t written = 0;
    *replaced = false;
    while (read < wide.size()) {
        const auto step = converter.convert(reinterpret_cast<const char*>(wide.data() + read),
                                            (wide.size() - read) * sizeof(char16_t), text.data() + written,
                                            text.size() - written);
        read += step.consumed / sizeof(char16_t);
        written += step.produced;
        if (step.error == 0) break;
        if ((step.error != EILSEQ && step.error != EINVAL) || read >= wide.size()) return std::nullopt;
        const char16_t refused = wide[read];
        if (is_undefined_byte(refused)) {
            text[written++] = static_cast<char>(refused);
            ++read;
            continue;
        }
        const bool pair = is_high_surrogate(refused) && read + 1 < wide.size() && is_low_surrogate(wide[read + 1]);
        read += pair ? 2 : 1;
        text[written++] = replacement;
        *replaced = true;
    }
    text.resize(written);
    return text;
}

}  // namespace host
