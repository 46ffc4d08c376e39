#pragma once
// The power-scheme facilities on D-Bus: the power profile daemon and the login
// manager on the system bus, the desktop's power manager on the session bus, and
// UDisks2 for drive standby. Each is given its bus, so tests use a private one.
// Needs a QCoreApplication.

#include <memory>

#include "platform/power_effectors.h"

class QDBusConnection;

namespace tv {

// power-profiles-daemon: org.freedesktop.UPower.PowerProfiles where a newer daemon
// answers to it, else net.hadess.PowerProfiles.
std::unique_ptr<PowerProfiles> makeDaemonPowerProfiles(const QDBusConnection& systemBus);

// logind's Suspend and Hibernate with interactive false, so inhibitors hold and no
// password is asked; CanHibernate "yes" only.
std::unique_ptr<IdleSleep> makeLogindIdleSleep(const QDBusConnection& systemBus);

// The caller's session's IdleHint and IdleSinceHintMonotonic.
std::unique_ptr<IdleSource> makeLogindIdleSource(const QDBusConnection& systemBus);

// One of the desktops' power managers holding its name on the session bus.
std::unique_ptr<DesktopPowerManager> makeSessionPowerManager(const QDBusConnection& sessionBus);

// UDisks2's ata-pm-standby for every rotating ATA drive, without asking for a password.
std::unique_ptr<DiskStandby> makeUdisksStandby(const QDBusConnection& systemBus);

}  // namespace tv
