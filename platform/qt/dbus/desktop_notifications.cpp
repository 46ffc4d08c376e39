#include "platform/qt/dbus/desktop_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr unsigned char kUrgencyCritical = 2;

}  // namespace

void DesktopNotifications::showCritical(const QString& appName, const QString& icon,
                                        const QString& title, const QString& body) {
    if (!bus_.isConnected()) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(kUrgencyCritical)}};
    // Servers may read the body as markup.
    call << appName << id_ << icon << title << body.toHtmlEscaped() << QStringList() << hints << -1;
    shown_ = true;
    closeWhenAnswered_ = false;
    std::uint32_t request = ++request_;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), &pending_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [this, request](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         QDBusPendingReply<std::uint32_t> reply = *finished;
                         if (request != request_) {
                             return;
                         }
                         if (reply.isError()) {
                             shown_ = false;  // no server
                             return;
                         }
                         id_ = reply.value();
                         if (closeWhenAnswered_) {
                             close();
                         }
                     });
}

void DesktopNotifications::close() {
    if (!shown_) {
        return;
    }
    if (id_ == 0) {
        // The server has not answered yet: close as soon as its id is known.
        closeWhenAnswered_ = true;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CloseNotification"));
    call << id_;
    bus_.send(call);
    id_ = 0;
    shown_ = false;
    closeWhenAnswered_ = false;
}

}  // namespace tv
