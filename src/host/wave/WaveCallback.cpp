#include "host/wave/WaveCallback.h"

namespace host {

ce::MMRESULT WaveCallback::check() const {
    switch (kind_) {
        case ce::CALLBACK_NULL:
        case ce::CALLBACK_THREAD: return ce::MMSYSERR_NOERROR;
        case ce::CALLBACK_WINDOW:
            return ce::IsWindow(reinterpret_cast<ce::HWND>(target_)) ? ce::MMSYSERR_NOERROR : ce::MMSYSERR_INVALPARAM;
        default: return ce::MMSYSERR_INVALFLAG;
    }
}

void WaveCallback::report(ce::HWAVEOUT device, ce::UINT message, ce::LPARAM lParam) const {
    const auto wParam = reinterpret_cast<ce::WPARAM>(device);
    // A receiver that has gone away simply misses the report, as on the device.
    if (kind_ == ce::CALLBACK_THREAD)
        ce::PostThreadMessageW(static_cast<ce::DWORD>(target_), message, wParam, lParam);
    else if (kind_ == ce::CALLBACK_WINDOW)
        ce::PostMessageW(reinterpret_cast<ce::HWND>(target_), message, wParam, lParam);
}

}  // namespace host
