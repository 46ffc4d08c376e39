#include "platform/qt/dbus/upower_power_status.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UPower");
const QString kPath = QStringLiteral("/org/freedesktop/UPower");
const QString kDisplayPath = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
const QString kInterface = QStringLiteral("org.freedesktop.UPower");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.UPower.Device");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// Readings are taken on change signals only; a service that hangs must not hold the
// window for long.
constexpr int kCallTimeoutMs = 500;

constexpr std::uint32_t kLinePower = 1;
constexpr std::uint32_t kBattery = 2;
constexpr std::uint32_t kUps = 3;
constexpr std::uint32_t kCharging = 1;

QVariantMap allProperties(const QDBusConnection& bus, const QString& path,
                          const QString& interface) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    call << interface;
    QDBusReply<QVariantMap> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    return reply.isValid() ? reply.value() : QVariantMap();
}

UPowerDevice deviceFrom(const QVariantMap& properties) {
    UPowerDevice device;
    device.type = properties.value(QStringLiteral("Type")).toUInt();
    device.present = properties.value(QStringLiteral("IsPresent")).toBool();
    device.percentage = properties.value(QStringLiteral("Percentage")).toDouble();
    device.state = properties.value(QStringLiteral("State")).toUInt();
    device.online = properties.value(QStringLiteral("Online")).toBool();
    return device;
}

std::vector<QDBusObjectPath> devicePaths(const QDBusConnection& bus) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("EnumerateDevices"));
    QDBusReply<QList<QDBusObjectPath>> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) {
        return {};
    }
    const QList<QDBusObjectPath> paths = reply.value();
    return {paths.begin(), paths.end()};
}

}  // namespace

SYSTEM_POWER_STATUS statusFromUPower(const UPowerDevice& display,
                                     const std::vector<bool>& lineOnline, bool onBattery) {
    SYSTEM_POWER_STATUS status;
    if (!lineOnline.empty()) {
        bool online = std::find(lineOnline.begin(), lineOnline.end(), true) != lineOnline.end();
        status.ACLineStatus = online ? AC_LINE_ONLINE : AC_LINE_OFFLINE;
    } else {
        status.ACLineStatus = onBattery ? AC_LINE_OFFLINE : AC_LINE_ONLINE;
    }
    if (!display.present || (display.type != kBattery && display.type != kUps)) {
        status.BatteryFlag = BATTERY_FLAG_NO_BATTERY;
        return status;
    }
    // Rounded as the desktop's panel rounds; a battery still charging never reads 100,
    // which would say "Fully Charged" too early.
    bool charging = display.state == kCharging;
    long percent = std::clamp(std::lround(display.percentage), 0L, 100L);
    if (charging && percent == 100) {
        percent = 99;
    }
    status.BatteryLifePercent = static_cast<std::uint8_t>(percent);
    status.BatteryFlag = batteryFlagFor(static_cast<int>(percent), charging);
    return status;
}

UPowerPowerStatus::UPowerPowerStatus(const QDBusConnection& bus, PowerStatusSource& fallback)
    : bus_(bus), fallback_(fallback) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
    if (!bus_.isConnected()) {
        return;
    }
    auto* watcher = new QDBusServiceWatcher(
        kService, bus_,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration,
        this);
    QObject::connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
                     [this] { ownerChanged(true); });
    QObject::connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this,
                     [this] { ownerChanged(false); });
    serviceWatcher_ = watcher;
    ownerChanged(runsOn(bus_));
}

UPowerPowerStatus::~UPowerPowerStatus() {
    watch(false);
}

bool UPowerPowerStatus::runsOn(const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        return false;
    }
    QDBusReply<bool> reply = bus.interface()->isServiceRegistered(kService);
    return reply.isValid() && reply.value();
}

bool UPowerPowerStatus::GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) {
    if (!running_) {
        return fallback_.GetSystemPowerStatus(status);
    }
    status = status_;
    return true;
}

void UPowerPowerStatus::changed(const QDBusMessage& message) {
    (void)message;
    reload();
}

void UPowerPowerStatus::ownerChanged(bool running) {
    running_ = running;
    watch(running);
    if (running) {
        reload();
    }
}

void UPowerPowerStatus::watch(bool on) {
    if (on == watching_) {
        return;
    }
    watching_ = on;
    // Every device's property changes (an empty path matches every object), and devices
    // coming and going (a charger or a second battery plugged in).
    const QString propertiesChanged = QStringLiteral("PropertiesChanged");
    for (const QString& name : {QStringLiteral("DeviceAdded"), QStringLiteral("DeviceRemoved")}) {
        if (on) {
            bus_.connect(kService, kPath, kInterface, name, this, SLOT(changed(QDBusMessage)));
        } else {
            bus_.disconnect(kService, kPath, kInterface, name, this, SLOT(changed(QDBusMessage)));
        }
    }
    if (on) {
        bus_.connect(kService, QString(), kProperties, propertiesChanged, this,
                     SLOT(changed(QDBusMessage)));
    } else {
        bus_.disconnect(kService, QString(), kProperties, propertiesChanged, this,
                        SLOT(changed(QDBusMessage)));
    }
}

void UPowerPowerStatus::reload() {
    UPowerDevice display = deviceFrom(allProperties(bus_, kDisplayPath, kDeviceInterface));
    std::vector<bool> lineOnline;
    for (const QDBusObjectPath& path : devicePaths(bus_)) {
        UPowerDevice device = deviceFrom(allProperties(bus_, path.path(), kDeviceInterface));
        if (device.type == kLinePower) {
            lineOnline.push_back(device.online);
        }
    }
    bool onBattery =
        allProperties(bus_, kPath, kInterface).value(QStringLiteral("OnBattery")).toBool();
    status_ = statusFromUPower(display, lineOnline, onBattery);
}

}  // namespace tv
