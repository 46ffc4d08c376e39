#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "platform/qt/dbus/power_dbus.h"

namespace tv {

namespace {

const char* const kManagers[] = {
    "org.gnome.SettingsDaemon.Power",
    "org.kde.Solid.PowerManagement",
    "org.xfce.PowerManager",
    "org.mate.PowerManager",
};

class SessionPowerManager : public DesktopPowerManager {
  public:
    explicit SessionPowerManager(const QDBusConnection& bus) : bus_(bus) {}

    std::string running() override {
        if (!bus_.isConnected() || bus_.interface() == nullptr) {
            return {};
        }
        for (const char* name : kManagers) {
            if (bus_.interface()->isServiceRegistered(QString::fromLatin1(name)).value()) {
                return name;
            }
        }
        return {};
    }

  private:
    QDBusConnection bus_;
};

}  // namespace

std::unique_ptr<DesktopPowerManager> makeSessionPowerManager(const QDBusConnection& sessionBus) {
    return std::make_unique<SessionPowerManager>(sessionBus);
}

}  // namespace tv
