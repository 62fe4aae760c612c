#pragma once
// kivowake: started by the notification database at an alarm's time and after every
// change of the clock or time zone, it passes the event on to Alert, posting
// WM_ALERT_REFIRE to a running "KIVOAlert" window or starting Alert with "SHOW" or
// "UPDATE". Started with "unregister" (by hand, by an installer), or when Alert is not
// installed, it removes its own event registrations instead. No state, no window.
//
// The notification database has used up the alarm's registration by the time kivowake
// runs, and Alert registers the next wake-up (its repeat) only once it has loaded the
// alarm. So that a crash of Alert in between (or of kivowake after this point) does not
// lose the alarm, kivowake first registers itself again a little later (kSafetySeconds,
// less than the shortest replay interval); Alert's reschedule replaces that
// registration as soon as it runs. Should nobody replace it, the alarm still pending
// goes off again then.

#include <string>
#include <string_view>

#include "ce/Types.h"

class WakeProgram {
public:
    static constexpr const char16_t* kAlertTitle = u"KIVOAlert";
    static constexpr int kSafetySeconds = 30;

    // One run for a command line; the exit code, always 0.
    static int Run(std::u16string_view command_line);

private:
    static std::u16string OwnPath();
    static void Unregister(const std::u16string& own_path);
    static void RegisterSafetyRerun(const std::u16string& own_path);
    static void PostToAlert(ce::HWND alert, std::u16string_view command_line);
    static void StartAlert(const std::u16string& alert_path, std::u16string_view command_line);
};
