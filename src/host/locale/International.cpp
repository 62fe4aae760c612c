#include "host/locale/International.h"

#include <iterator>

#include "ce/Locale.h"
#include "ce/Registry.h"

namespace host {

std::u16string International::Picture(const char16_t* name, const char16_t* fallback) {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_CURRENT_USER, ce::kInternationalKey, &key) != ce::ERROR_SUCCESS) return fallback;
    char16_t buffer[80] = {};
    ce::DWORD bytes = sizeof buffer;
    ce::DWORD type = 0;
    const ce::LONG read = ce::RegQueryValueExW(key, name, &type, reinterpret_cast<ce::BYTE*>(buffer), &bytes);
    ce::RegCloseKey(key);
    if (read != ce::ERROR_SUCCESS || type != ce::REG_SZ || buffer[0] == u'\0') return fallback;
    buffer[std::size(buffer) - 1] = u'\0';
    return buffer;
}

std::u16string International::Digits(int value, int width) {
    std::u16string text;
    for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
    while (static_cast<int>(text.size()) < width) text.insert(text.begin(), u'0');
    return text;
}

int International::CopyOut(const std::u16string& text, char16_t* out, int chars) {
    const int needed = static_cast<int>(text.size()) + 1;
    if (chars == 0) return needed;
    if (needed > chars) {
        ce::SetLastError(ce::ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(out, text.size());
    out[text.size()] = u'\0';
    return needed;
}

}  // namespace host
