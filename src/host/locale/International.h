#pragma once
// What the time and date texts share: the user's pictures under HKEY_CURRENT_USER
// "Control Panel\International", and numbers written with leading zeros.

#include <string>

namespace host {

class International {
public:
    // The string value `name`, or `fallback` when it is missing, empty or not a string.
    static std::u16string Picture(const char16_t* name, const char16_t* fallback);
    // `value` in decimal, padded with zeros to `width` digits.
    static std::u16string Digits(int value, int width);
    // The caller's side of a text call: the characters needed (NUL included) when
    // `chars` is 0, else `text` copied into `out`, or 0 with ERROR_INSUFFICIENT_BUFFER.
    static int CopyOut(const std::u16string& text, char16_t* out, int chars);
};

}  // namespace host
