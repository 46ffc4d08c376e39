#include "platform/qt/dbus/status_notifier.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace tv {

bool statusNotifierHostRegistered(const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.kde.StatusNotifierWatcher")
         << QStringLiteral("IsStatusNotifierHostRegistered");
    // Asked once at start; a panel that does not answer soon is as good as none.
    QDBusReply<QDBusVariant> reply = bus.call(call, QDBus::Block, 500);
    return reply.isValid() && reply.value().variant().toBool();
}

}  // namespace tv
