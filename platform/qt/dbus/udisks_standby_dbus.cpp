#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>

#include "platform/qt/dbus/power_dbus.h"

using UdisksInterfaces = QMap<QString, QVariantMap>;
using UdisksObjects = QMap<QDBusObjectPath, UdisksInterfaces>;
Q_DECLARE_METATYPE(UdisksInterfaces)
Q_DECLARE_METATYPE(UdisksObjects)

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kAta = QStringLiteral("org.freedesktop.UDisks2.Drive.Ata");
constexpr int kTimeoutMs = 2000;

// The ATA standby timer's encoding (as hdparm -S): 1..240 in units of 5 s,
// 241..251 in units of 30 min from 30 min to 5.5 h; 0 is off.
int standbyTimerValue(std::uint32_t seconds) {
    constexpr std::uint32_t kShortUnit = 5;
    constexpr std::uint32_t kLongUnit = 1800;
    if (seconds == 0) {
        return 0;
    }
    if (seconds <= 240 * kShortUnit) {
        return static_cast<int>((seconds + kShortUnit - 1) / kShortUnit);
    }
    std::uint32_t halfHours = (seconds + kLongUnit - 1) / kLongUnit;
    return 240 + static_cast<int>(halfHours < 11 ? halfHours : 11);
}

class UdisksStandby : public DiskStandby {
  public:
    explicit UdisksStandby(const QDBusConnection& bus) : bus_(bus) {
        qDBusRegisterMetaType<UdisksInterfaces>();
        qDBusRegisterMetaType<UdisksObjects>();
    }

    std::string unavailable() override {
        drives_.clear();
        if (!bus_.isConnected()) {
            return "no system bus";
        }
        QDBusReply<UdisksObjects> reply =
            bus_.call(QDBusMessage::createMethodCall(
                          kService, kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                          QStringLiteral("GetManagedObjects")),
                      QDBus::Block, kTimeoutMs);
        if (!reply.isValid()) {
            return "no UDisks2";
        }
        const UdisksObjects objects = reply.value();
        for (auto it = objects.begin(); it != objects.end(); ++it) {
            // Solid-state drives report 0; a spinning one its speed, or -1 if unknown.
            if (it->contains(kDrive) && it->contains(kAta) &&
                it->value(kDrive).value(QStringLiteral("RotationRate")).toInt() != 0) {
                drives_.push_back(it.key().path());
            }
        }
        return drives_.empty() ? "no rotating drive" : "";
    }

    std::string setStandbyAfter(std::uint32_t seconds) override {
        if (drives_.empty()) {
            std::string missing = unavailable();
            if (!missing.empty()) {
                return missing;
            }
        }
        QVariantMap value{{QStringLiteral("ata-pm-standby"), standbyTimerValue(seconds)}};
        // Only what the system allows without a password: never a prompt.
        QVariantMap options{{QStringLiteral("auth.no_user_interaction"), true}};
        for (const QString& drive : drives_) {
            QDBusMessage call = QDBusMessage::createMethodCall(kService, drive, kDrive,
                                                               QStringLiteral("SetConfiguration"));
            call << value << options;
            QDBusMessage reply = bus_.call(call, QDBus::Block, kTimeoutMs);
            if (reply.type() == QDBusMessage::ErrorMessage) {
                return reply.errorName() ==
                                   QStringLiteral("org.freedesktop.UDisks2.Error.NotAuthorized") ||
                               reply.errorName() ==
                                   QStringLiteral(
                                       "org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain")
                           ? "not allowed without a password"
                           : reply.errorMessage().toStdString();
            }
        }
        return {};
    }

  private:
    QDBusConnection bus_;
    std::vector<QString> drives_;
};

}  // namespace

std::unique_ptr<DiskStandby> makeUdisksStandby(const QDBusConnection& systemBus) {
    return std::make_unique<UdisksStandby>(systemBus);
}

}  // namespace tv
