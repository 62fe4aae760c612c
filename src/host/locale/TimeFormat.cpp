// The platform's time formatting over the user's picture in the handheld's registry.

#include <string>

#include "ce/Locale.h"
#include "ce/Registry.h"
#include "host/locale/TimePicture.h"

namespace ce {

namespace {

std::u16string user_picture() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternationalKey, &key) != ERROR_SUCCESS) return kDefaultTimeFormat;
    char16_t buffer[80] = {};
    DWORD bytes = sizeof buffer;
    DWORD type = 0;
    const LONG read = RegQueryValueExW(key, kTimeFormatValue, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ || buffer[0] == u'\0') return kDefaultTimeFormat;
    buffer[std::size(buffer) - 1] = u'\0';
    return buffer;
}

}  // namespace

int GetTimeFormatW(LCID /*locale*/, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out, int chars) {
    SYSTEMTIME now;
    if (time == nullptr) {
        GetLocalTime(&now);
        time = &now;
    }
    if (time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59 || chars < 0 || (chars > 0 && out == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string picture = format != nullptr ? std::u16string(format) : user_picture();
    const std::u16string text = host::TimePicture(picture).Format(time->wHour, time->wMinute, time->wSecond, flags);
    const int needed = static_cast<int>(text.size()) + 1;
    if (chars == 0) return needed;
    if (needed > chars) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(out, text.size());
    out[text.size()] = u'\0';
    return needed;
}

}  // namespace ce
