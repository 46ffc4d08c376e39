#pragma once
// The power status as the system's UPower service reports it: its display device (the
// machine's batteries combined, as the desktop's own battery indicator shows them) and
// its line-power devices. The readings are kept from the service's change signals, so
// a sample costs no bus round trip. While the service is not on the bus (not installed,
// restarting) the fallback source answers.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <vector>

#include "platform/power_status.h"

namespace tv {

// One UPower device's properties, as far as the status needs them.
struct UPowerDevice {
    std::uint32_t type = 0;  // 1 line power, 2 battery, 3 UPS
    bool present = false;
    double percentage = 0;
    std::uint32_t state = 0;  // 1 charging ... 5 pending charge, 6 pending discharge
    bool online = false;      // line power
};

// The record the platform would fill from those readings. lineOnline holds the
// Online state of each line-power device; onBattery is the service's own verdict,
// used where there is no line-power device.
SYSTEM_POWER_STATUS statusFromUPower(const UPowerDevice& display,
                                     const std::vector<bool>& lineOnline, bool onBattery);

class UPowerPowerStatus : public QObject, public PowerStatusSource {
    Q_OBJECT

  public:
    UPowerPowerStatus(const QDBusConnection& bus, PowerStatusSource& fallback);
    ~UPowerPowerStatus() override;

    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override;
    // Whether the readings come from the service now.
    bool serviceRunning() const { return running_; }

    // Whether UPower answers on that bus now.
    static bool runsOn(const QDBusConnection& bus);

  public Q_SLOTS:
    // Any change signal of the service: the readings are taken again.
    void changed(const QDBusMessage& message);

  private:
    void ownerChanged(bool running);
    void reload();
    void watch(bool on);

    QDBusConnection bus_;
    PowerStatusSource& fallback_;
    QObject* serviceWatcher_ = nullptr;
    bool running_ = false;
    bool watching_ = false;
    SYSTEM_POWER_STATUS status_;
};

}  // namespace tv
