// The platform's short date text over the user's picture in the handheld's registry.

#include <string>

#include "ce/Locale.h"
#include "host/locale/International.h"

namespace ce {

namespace {

// One field of the picture: `letters` of the same letter (d, M or y).
std::u16string field(char16_t letter, int letters, const SYSTEMTIME& date) {
    using host::International;
    switch (letter) {
        case u'd': return International::Digits(date.wDay, letters >= 2 ? 2 : 1);
        case u'M': return International::Digits(date.wMonth, letters >= 2 ? 2 : 1);
        default: return letters <= 2 ? International::Digits(date.wYear % 100, 2) : International::Digits(date.wYear, 4);
    }
}

std::u16string format_date(std::u16string_view picture, const SYSTEMTIME& date) {
    std::u16string out;
    for (std::size_t at = 0; at < picture.size();) {
        const char16_t letter = picture[at];
        if (letter == u'\'') {
            // Quoted text stands as written; two quotes in a row are one quote.
            for (++at; at < picture.size(); ++at) {
                if (picture[at] != u'\'') {
                    out += picture[at];
                } else if (at + 1 < picture.size() && picture[at + 1] == u'\'') {
                    out += u'\'';
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
            continue;
        }
        if (letter != u'd' && letter != u'M' && letter != u'y') {
            out += letter;
            ++at;
            continue;
        }
        int letters = 0;
        while (at < picture.size() && picture[at] == letter) {
            ++letters;
            ++at;
        }
        out += field(letter, letters, date);
    }
    return out;
}

}  // namespace

int GetDateFormatW(LCID /*locale*/, DWORD /*flags*/, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int chars) {
    SYSTEMTIME today;
    if (date == nullptr) {
        GetLocalTime(&today);
        date = &today;
    }
    if (date->wMonth < 1 || date->wMonth > 12 || date->wDay < 1 || date->wDay > 31 || chars < 0 ||
        (chars > 0 && out == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string text = format_date(format != nullptr ? std::u16string(format) : host::International::Picture(kShortDateValue, kDefaultShortDate), *date);
    return host::International::CopyOut(text, out, chars);
}

}  // namespace ce
