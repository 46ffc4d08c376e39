#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

#include "platform/qt/dbus/sleep_system.h"

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
// A refresh asks every 5 seconds; an unanswered question must not hold the window.
constexpr int kQueryTimeoutMs = 500;

class LogindSleep : public SleepService {
  public:
    explicit LogindSleep(const QDBusConnection& bus) : bus_(bus) {}

    bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override {
        (void)force;
        (void)disableWakeEvent;
        if (!bus_.isConnected()) {
            return false;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            kService, kPath, kManager,
            hibernate ? QStringLiteral("Hibernate") : QStringLiteral("Suspend"));
        // interactive: the login manager may ask the user to authorise.
        call << true;
        // Sent without waiting: the machine goes to sleep before any answer matters.
        return bus_.send(call);
    }

    bool canHibernate() override {
        if (!bus_.isConnected()) {
            return false;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager,
                                                           QStringLiteral("CanHibernate"));
        QDBusReply<QString> reply = bus_.call(call, QDBus::Block, kQueryTimeoutMs);
        return reply.isValid() && reply.value() == QStringLiteral("yes");
    }

  private:
    QDBusConnection bus_;
};

}  // namespace

std::unique_ptr<SleepService> makeLogindSleep(const QDBusConnection& bus) {
    return std::make_unique<LogindSleep>(bus);
}

std::unique_ptr<SleepService> makeSystemSleep() {
    return makeLogindSleep(QDBusConnection::systemBus());
}

}  // namespace tv
