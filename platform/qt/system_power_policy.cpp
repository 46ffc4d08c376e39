#include "platform/qt/system_power_policy.h"

#include <QDBusConnection>
#include <cstdio>

#include "platform/qt/dbus/power_dbus.h"

namespace tv {

PowerPolicyEnvironment powerPolicyEnvironment(const EnvironmentLookup& environment) {
    PowerPolicyEnvironment found;
    found.display = environment("DISPLAY");
    found.wayland = environment("WAYLAND_DISPLAY").has_value() ||
                    environment("XDG_SESSION_TYPE").value_or("") == "wayland";
    return found;
}

SystemPowerPolicy::SystemPowerPolicy(const PowerPolicyEnvironment& environment,
                                     RegistryApi& registry, PowerStatusSource& source)
    : screen_(environment.display, environment.wayland),
      profiles_(makeDaemonPowerProfiles(QDBusConnection::systemBus())),
      sleep_(makeLogindIdleSleep(QDBusConnection::systemBus())),
      sessionIdle_(makeLogindIdleSource(QDBusConnection::systemBus())),
      idle_(std::make_unique<FirstIdleSource>(screen_, *sessionIdle_)),
      disks_(makeUdisksStandby(QDBusConnection::systemBus())),
      desktop_(makeSessionPowerManager(QDBusConnection::sessionBus())) {
    applier_ = std::make_unique<policy::PowerPolicyApplier>(
        policy::PowerPolicyServices{registry, *profiles_, screen_, *disks_, *sleep_, *idle_,
                                    *desktop_},
        [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    status_ = std::make_unique<policy::ApplyingPowerStatus>(source, *applier_);
}

SystemPowerPolicy::~SystemPowerPolicy() = default;

}  // namespace tv
