#include "host/display/SessionScreen.h"

#include <dbus/dbus.h>

#include <cstdlib>
#include <string>

#include "host/BoundedCall.h"
#include "host/DeviceLog.h"

namespace host {

namespace {

// Each step is also bounded by itself, so that the thread left behind by a bus that
// never answers ends in the end.
constexpr int kStepLimitMs = static_cast<int>(SessionScreen::kDeadline.count());

bool ask_screen_saver(DBusConnection* bus, DBusError* error) {
    // dbus_bus_register() would wait for the bus's greeting without a limit.
    DBusMessage* hello =
        dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "Hello");
    if (hello == nullptr) return false;
    DBusMessage* greeting = dbus_connection_send_with_reply_and_block(bus, hello, kStepLimitMs, error);
    dbus_message_unref(hello);
    if (greeting == nullptr) return false;
    dbus_message_unref(greeting);
    DBusMessage* call = dbus_message_new_method_call("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                                     "org.freedesktop.ScreenSaver", "SimulateUserActivity");
    if (call == nullptr) return false;
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, kStepLimitMs, error);
    dbus_message_unref(call);
    if (reply == nullptr) return false;
    const bool answered = dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN;
    dbus_message_unref(reply);
    return answered;
}

// A connection of its own, by address, closed again after one blocking call: D-Bus's
// own library, not a toolkit's, so that the wake program, which starts the reminder,
// loads no toolkit of its own first.
bool ask_at(const std::string& address) {
    DBusError error;
    dbus_error_init(&error);
    bool answered = false;
    if (DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error); bus != nullptr) {
        answered = ask_screen_saver(bus, &error);
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }
    dbus_error_free(&error);
    return answered;
}

}  // namespace

bool SessionScreen::ask_to_light() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') return false;
    // Even connecting may wait, on a bus whose queue is full.
    const auto answered = BoundedCall::run<bool>(kDeadline, [bus = std::string(address)] { return ask_at(bus); });
    if (answered) return *answered;
    DeviceLog(kLogName).write("the session bus at " + std::string(address) + " did not answer within " +
                              std::to_string(kDeadline.count()) + " ms: the desktop's screen was not woken");
    return false;
}

}  // namespace host
