#pragma once
// The screen of the desktop session the handheld runs in. Turning the handheld's display
// on also asks the session to wake its screen, as a person moving the mouse would
// (org.freedesktop.ScreenSaver.SimulateUserActivity on the session bus), so that a
// reminder is seen on a screen the session had blanked. Without a session bus
// ($DBUS_SESSION_BUS_ADDRESS unset) there is nothing to ask.

namespace host {

class SessionScreen {
public:
    // Whether a screen saver of the session answered.
    static bool wake();
};

}  // namespace host
