#pragma once
// The power-policy applier on this machine's facilities: the X server for the screen
// and idle time, power-profiles-daemon, logind and UDisks2 on the system bus, the
// desktop's power manager on the session bus. Notes go to standard error. Needs a
// QCoreApplication.

#include <memory>
#include <optional>
#include <string>

#include "platform/linux/environment.h"
#include "platform/linux/x11_screen.h"
#include "policy/power_applier.h"

namespace tv {

struct PowerPolicyEnvironment {
    std::optional<std::string> display;  // $DISPLAY
    bool wayland = false;                // $WAYLAND_DISPLAY or XDG_SESSION_TYPE=wayland
};
PowerPolicyEnvironment powerPolicyEnvironment(const EnvironmentLookup& environment);

class SystemPowerPolicy {
  public:
    SystemPowerPolicy(const PowerPolicyEnvironment& environment, RegistryApi& registry,
                      PowerStatusSource& source);
    ~SystemPowerPolicy();

    // The power source to give the window logic: each sample it takes drives the applier.
    PowerStatusSource& powerSource() { return *status_; }

  private:
    X11Screen screen_;
    std::unique_ptr<PowerProfiles> profiles_;
    std::unique_ptr<IdleSleep> sleep_;
    std::unique_ptr<IdleSource> sessionIdle_;
    std::unique_ptr<FirstIdleSource> idle_;
    std::unique_ptr<DiskStandby> disks_;
    std::unique_ptr<DesktopPowerManager> desktop_;
    std::unique_ptr<policy::PowerPolicyApplier> applier_;
    std::unique_ptr<policy::ApplyingPowerStatus> status_;
};

}  // namespace tv
