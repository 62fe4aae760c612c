// A desktop session's screen saver, standing in on a test's private session bus: it owns
// org.freedesktop.ScreenSaver, answers SimulateUserActivity, and says "ready" once it
// listens, then "activity N" for the Nth call, one line each on its standard output.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

class ScreenSaver : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QLatin1String("org.freedesktop.ScreenSaver") ||
            message.member() != QLatin1String("SimulateUserActivity"))
            return false;
        std::printf("activity %d\n", ++calls_);
        std::fflush(stdout);
        connection.send(message.createReply());
        return true;
    }

private:
    int calls_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    ScreenSaver screen_saver;
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screen_saver) ||
        !bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"))) {
        std::printf("cannot listen on the session bus\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
