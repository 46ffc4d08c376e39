#include <time.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

#include "platform/qt/dbus/power_dbus.h"

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
// The caller's own session, resolved by the login manager.
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/auto");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kTimeoutMs = 1000;

class LogindIdleSleep : public IdleSleep {
  public:
    explicit LogindIdleSleep(const QDBusConnection& bus) : bus_(bus) {}

    bool canHibernate() override {
        if (!bus_.isConnected()) {
            return false;
        }
        QDBusReply<QString> reply =
            bus_.call(QDBusMessage::createMethodCall(kService, kPath, kManager,
                                                     QStringLiteral("CanHibernate")),
                      QDBus::Block, kTimeoutMs);
        return reply.isValid() && reply.value() == QStringLiteral("yes");
    }
    std::string suspend() override { return request(QStringLiteral("Suspend")); }
    std::string hibernate() override { return request(QStringLiteral("Hibernate")); }

  private:
    std::string request(const QString& method) {
        if (!bus_.isConnected()) {
            return "no system bus";
        }
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
        // Not interactive: an inhibitor (a film playing, a copy running) wins, and
        // nobody is asked for a password in front of an idle screen.
        call << false;
        QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            return reply.errorMessage().toStdString();
        }
        return {};
    }

    QDBusConnection bus_;
};

class LogindIdleSource : public IdleSource {
  public:
    explicit LogindIdleSource(const QDBusConnection& bus) : bus_(bus) {}

    std::optional<std::uint32_t> idleSeconds() override {
        std::optional<QVariant> idle = property(QStringLiteral("IdleHint"));
        if (!idle) {
            return std::nullopt;
        }
        if (!idle->toBool()) {
            return 0;
        }
        std::optional<QVariant> since = property(QStringLiteral("IdleSinceHintMonotonic"));
        if (!since) {
            return std::nullopt;
        }
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        auto nowUs = static_cast<qulonglong>(now.tv_sec) * 1000000ULL +
                     static_cast<qulonglong>(now.tv_nsec) / 1000ULL;
        qulonglong sinceUs = since->toULongLong();
        return static_cast<std::uint32_t>(nowUs > sinceUs ? (nowUs - sinceUs) / 1000000ULL : 0);
    }

  private:
    std::optional<QVariant> property(const QString& name) {
        if (!bus_.isConnected()) {
            return std::nullopt;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kSessionPath, kProperties,
                                                           QStringLiteral("Get"));
        call << kSession << name;
        QDBusReply<QDBusVariant> reply = bus_.call(call, QDBus::Block, kTimeoutMs);
        if (!reply.isValid()) {
            return std::nullopt;
        }
        return reply.value().variant();
    }

    QDBusConnection bus_;
};

}  // namespace

std::unique_ptr<IdleSleep> makeLogindIdleSleep(const QDBusConnection& systemBus) {
    return std::make_unique<LogindIdleSleep>(systemBus);
}

std::unique_ptr<IdleSource> makeLogindIdleSource(const QDBusConnection& systemBus) {
    return std::make_unique<LogindIdleSource>(systemBus);
}

}  // namespace tv
