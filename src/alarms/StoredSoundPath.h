#pragma once
// Whether an alarm file can keep a sound's path as it is. The file holds it in the ANSI
// code page, and the readers take at most 199 bytes of it: a character outside the code
// page comes back as "?", a longer path as no path at all, and either way the alarm
// rings without its sound.

#include <string>

class StoredSoundPath {
public:
    enum class Fit {
        fits,
        foreign_characters,  // a character the ANSI code page does not have
        too_long,            // more bytes than the readers take
    };
    static constexpr std::size_t kLongestBytes = 199;

    static Fit Check(const std::u16string& path);
};
