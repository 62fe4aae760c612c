// The ANSI conversions of the platform interface, with the Win32 buffer contract, over CodePage1252.

#include "ce/Text.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/text/CodePage1252.h"

namespace ce {

namespace {

constexpr unsigned kWindows1252 = 1252;

bool known_code_page(unsigned codePage) { return codePage == CP_ACP || codePage == kWindows1252; }

// Hands a converted text to the caller: its size when `room` is 0, else a copy if it fits.
template <class Char>
int deliver(const std::basic_string<Char>& converted, Char* out, int room) {
    if (converted.size() > static_cast<std::size_t>(INT_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int size = static_cast<int>(converted.size());
    if (room == 0) return size;
    if (size > room) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(converted.begin(), converted.end(), out);
    return size;
}

int invalid_parameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

}  // namespace

// No flag changes a 1252 conversion (every byte has a character, no best-fit mapping
// is ever applied), so flags are accepted and ignored.
int MultiByteToWideChar(unsigned codePage, DWORD /*flags*/, const char* text, int textBytes, WCHAR* wide,
                        int wideChars) {
    if (!known_code_page(codePage) || text == nullptr || textBytes == 0 || textBytes < -1 || wideChars < 0 ||
        (wide == nullptr && wideChars != 0))
        return invalid_parameter();
    const std::size_t length = textBytes == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(textBytes);
    const auto converted = host::CodePage1252::to_wide(std::string_view(text, length));
    if (!converted) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    return deliver(*converted, wide, wideChars);
}

int WideCharToMultiByte(unsigned codePage, DWORD /*flags*/, const WCHAR* wide, int wideChars, char* text,
                        int textBytes, const char* defaultChar, BOOL* usedDefaultChar) {
    if (!known_code_page(codePage) || wide == nullptr || wideChars == 0 || wideChars < -1 || textBytes < 0 ||
        (text == nullptr && textBytes != 0))
        return invalid_parameter();
    const std::size_t length =
        wideChars == -1 ? std::char_traits<WCHAR>::length(wide) + 1 : static_cast<std::size_t>(wideChars);
    bool replaced = false;
    const auto converted = host::CodePage1252::to_ansi(std::u16string_view(wide, length),
                                                       defaultChar != nullptr ? *defaultChar : '?', &replaced);
    if (!converted) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    if (usedDefaultChar != nullptr) *usedDefaultChar = replaced ? TRUE : FALSE;
    return deliver(*converted, text, textBytes);
}

}  // namespace ce
