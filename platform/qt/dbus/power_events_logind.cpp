#include "platform/qt/dbus/power_events_logind.h"

#include "platform/qt/dbus/power_events_system.h"

namespace tv {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSignal = QStringLiteral("PrepareForSleep");

}  // namespace

LogindPowerEvents::LogindPowerEvents(const QDBusConnection& bus) : bus_(bus) {
    listening_ = bus_.isConnected() && bus_.connect(kService, kPath, kManager, kSignal, this,
                                                    SLOT(prepareForSleep(bool)));
}

LogindPowerEvents::~LogindPowerEvents() {
    if (listening_) {
        bus_.disconnect(kService, kPath, kManager, kSignal, this, SLOT(prepareForSleep(bool)));
    }
}

void LogindPowerEvents::prepareForSleep(bool start) {
    if (listener_) {
        listener_(start ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC);
    }
}

std::unique_ptr<PowerEvents> makeLogindPowerEvents(const QDBusConnection& bus) {
    return std::make_unique<LogindPowerEvents>(bus);
}

std::unique_ptr<PowerEvents> makeSystemPowerEvents() {
    return makeLogindPowerEvents(QDBusConnection::systemBus());
}

}  // namespace tv
