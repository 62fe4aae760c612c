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
};

}  // namespace host
