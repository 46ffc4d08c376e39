#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

#include "platform/qt/dbus/power_dbus.h"

namespace tv {

namespace {

struct Daemon {
    QString service, path, interface;
};
const Daemon kDaemons[] = {
    {QStringLiteral("org.freedesktop.UPower.PowerProfiles"),
     QStringLiteral("/org/freedesktop/UPower/PowerProfiles"),
     QStringLiteral("org.freedesktop.UPower.PowerProfiles")},
    {QStringLiteral("net.hadess.PowerProfiles"), QStringLiteral("/net/hadess/PowerProfiles"),
     QStringLiteral("net.hadess.PowerProfiles")},
};
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// Asked only when a scheme is applied; a hung daemon must not hold the refresh long.
constexpr int kTimeoutMs = 1000;

class DaemonPowerProfiles : public PowerProfiles {
  public:
    explicit DaemonPowerProfiles(const QDBusConnection& bus) : bus_(bus) {}

    std::vector<std::string> offered() override {
        daemon_ = nullptr;
        if (!bus_.isConnected()) {
            return {};
        }
        for (const Daemon& daemon : kDaemons) {
            QDBusMessage call = QDBusMessage::createMethodCall(daemon.service, daemon.path,
                                                               kProperties, QStringLiteral("Get"));
            call << daemon.interface << QStringLiteral("Profiles");
            QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                daemon_ = &daemon;
                return profileNames(reply.arguments().first());
            }
        }
        return {};
    }

    std::string setProfile(const std::string& name) override {
        if (daemon_ == nullptr && offered().empty()) {
            return "no power-profiles-daemon";
        }
        QDBusMessage call = QDBusMessage::createMethodCall(daemon_->service, daemon_->path,
                                                           kProperties, QStringLiteral("Set"));
        call << daemon_->interface << QStringLiteral("ActiveProfile")
             << QVariant::fromValue(QDBusVariant(QString::fromStdString(name)));
        QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            return reply.errorMessage().toStdString();
        }
        return {};
    }

  private:
    // Profiles is aa{sv}; each entry names its profile under "Profile".
    static std::vector<std::string> profileNames(const QVariant& value) {
        std::vector<std::string> names;
        const QDBusArgument list = value.value<QDBusVariant>().variant().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QVariantMap entry;
            list >> entry;
            QString profile = entry.value(QStringLiteral("Profile")).toString();
            if (!profile.isEmpty()) {
                names.push_back(profile.toStdString());
            }
        }
        list.endArray();
        return names;
    }

    QDBusConnection bus_;
    const Daemon* daemon_ = nullptr;
};

}  // namespace

std::unique_ptr<PowerProfiles> makeDaemonPowerProfiles(const QDBusConnection& systemBus) {
    return std::make_unique<DaemonPowerProfiles>(systemBus);
}

}  // namespace tv
