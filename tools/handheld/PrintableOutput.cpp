#include "PrintableOutput.h"

#include <cstdio>

namespace handheld {

namespace {

constexpr unsigned char kC1Lead = 0xC2;

}  // namespace

PrintableOutput::~PrintableOutput() { sync(); }

bool PrintableOutput::put_escaped(bool c1, unsigned value) {
    char text[8];
    const int length = c1 ? std::snprintf(text, sizeof text, "\\u%04x", value)
                          : std::snprintf(text, sizeof text, "\\x%02x", value);
    return target_->sputn(text, length) == length;
}

PrintableOutput::int_type PrintableOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if (after_lead_) {
        after_lead_ = false;
        if (byte >= 0x80 && byte <= 0x9F) return put_escaped(true, byte) ? c : traits_type::eof();
        if (target_->sputc(static_cast<char>(kC1Lead)) == traits_type::eof()) return traits_type::eof();
    }
    if (byte == kC1Lead) {
        after_lead_ = true;
        return c;
    }
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F) return put_escaped(false, byte) ? c : traits_type::eof();
    return target_->sputc(static_cast<char>(byte)) == traits_type::eof() ? traits_type::eof() : c;
}

int PrintableOutput::sync() {
    if (after_lead_) {
        after_lead_ = false;
        target_->sputc(static_cast<char>(kC1Lead));
    }
    return target_->pubsync();
}

}  // namespace handheld
