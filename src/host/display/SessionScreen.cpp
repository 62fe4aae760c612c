#include "host/display/SessionScreen.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <cstdlib>

namespace host {

namespace {

// A screen saver that hangs must not hold up the reminder for long.
constexpr int kAnswerLimitMs = 500;
const char* const kConnectionName = "kivo-session-screen";

}  // namespace

bool SessionScreen::wake() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') return false;
    bool answered = false;
    {
        // A connection of its own, by address: the wake program has no Qt application
        // for the shared session connection, and one blocking call needs none.
        const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), kConnectionName);
        if (bus.isConnected()) {
            const auto call = QDBusMessage::createMethodCall(
                QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("SimulateUserActivity"));
            answered = bus.call(call, QDBus::Block, kAnswerLimitMs).type() == QDBusMessage::ReplyMessage;
        }
    }
    QDBusConnection::disconnectFromBus(kConnectionName);
    return answered;
}

}  // namespace host
