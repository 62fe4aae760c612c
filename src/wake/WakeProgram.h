#pragma once
// kivowake: started by the notification database at an alarm's time and after every
// change of the clock or time zone, it passes the event on to Alert, posting
// WM_ALERT_REFIRE to a running "KIVOAlert" window or starting Alert with "SHOW" or
// "UPDATE". Started with "unregister" (by hand, by an installer), or when Alert is not
// installed, it removes its own event registrations instead. No state, no window.

#include <string>
#include <string_view>

#include "ce/Types.h"

class WakeProgram {
public:
    static constexpr const char16_t* kAlertTitle = u"KIVOAlert";

    // One run for a command line; the exit code, always 0.
    static int Run(std::u16string_view command_line);

private:
    static std::u16string OwnPath();
    static void Unregister(const std::u16string& own_path);
    static void PostToAlert(ce::HWND alert, std::u16string_view command_line);
    static void StartAlert(const std::u16string& alert_path, std::u16string_view command_line);
};
