// The platform's time formatting over the user's picture in the handheld's registry.

#include <string>

#include "ce/Locale.h"
#include "host/locale/International.h"
#include "host/locale/TimePicture.h"

namespace ce {

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
    const std::u16string picture = format != nullptr ? std::u16string(format) : host::International::Picture(kTimeFormatValue, kDefaultTimeFormat);
    const std::u16string text = host::TimePicture(picture).Format(time->wHour, time->wMinute, time->wSecond, flags);
    return host::International::CopyOut(text, out, chars);
}

}  // namespace ce
