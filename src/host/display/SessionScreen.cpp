#include "host/display/SessionScreen.h"

#include <dbus/dbus.h>

#include <cstdlib>

namespace host {

namespace {

// A screen saver that hangs must not hold up the reminder for long.
constexpr int kAnswerLimitMs = 500;

bool ask_screen_saver(DBusConnection* bus, DBusError* error) {
    if (!dbus_bus_register(bus, error)) return false;
    DBusMessage* call = dbus_message_new_method_call("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                                     "org.freedesktop.ScreenSaver", "SimulateUserActivity");
    if (call == nullptr) return false;
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, kAnswerLimitMs, error);
    dbus_message_unref(call);
    if (reply == nullptr) return false;
    const bool answered = dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN;
    dbus_message_unref(reply);
    return answered;
}

}  // namespace

bool SessionScreen::wake() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') return false;
    // A connection of its own, by address, closed again after one blocking call: D-Bus's
    // own library, not a toolkit's, so that the wake program, which starts the reminder,
    // loads no toolkit of its own first.
    DBusError error;
    dbus_error_init(&error);
    bool answered = false;
    if (DBusConnection* bus = dbus_connection_open_private(address, &error); bus != nullptr) {
        answered = ask_screen_saver(bus, &error);
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }
    dbus_error_free(&error);
    return answered;
}

}  // namespace host
