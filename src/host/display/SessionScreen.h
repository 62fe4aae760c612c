#pragma once
// The screen of the desktop session the handheld runs in. Turning the handheld's display
// on also asks the session to wake its screen, as a person moving the mouse would
// (org.freedesktop.ScreenSaver.SimulateUserActivity on the session bus), so that a
// reminder is seen on a screen the session had blanked. Without a session bus
// ($DBUS_SESSION_BUS_ADDRESS unset) there is nothing to ask. A hung desktop must never
// hold up an alarm: connecting, registering on the bus and the call together get
// kDeadline, and a bus that did not answer in time is said in log/screen.log.

#include <chrono>

namespace host {

class SessionScreen {
public:
    static constexpr std::chrono::milliseconds kDeadline{1000};
    static constexpr const char* kLogName = "screen";

    // Whether a screen saver of the session answered within kDeadline.
    static bool ask_to_light();
};

}  // namespace host
