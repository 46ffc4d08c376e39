#pragma once
// The power-policy applier in a scenario: recording facilities, an idle time that
// grows with virtual time, and the commands that set what the machine offers.

#include <memory>
#include <optional>

#include "platform/testing/recording_power_effectors.h"
#include "policy/power_applier.h"
#include "tools/scenario/scenario.h"

namespace tv::scenario {

// Idle since a moment of virtual time; never idle until told.
class VirtualIdle : public IdleSource {
  public:
    explicit VirtualIdle(const Clock& clock) : clock_(clock) {}
    std::optional<std::uint32_t> idleSeconds() override {
        if (!since_) {
            return 0;
        }
        return static_cast<std::uint32_t>((clock_.nowMs() - *since_) / 1000);
    }
    void idleFor(long long seconds) { since_ = clock_.nowMs() - seconds * 1000; }

  private:
    const Clock& clock_;
    std::optional<long long> since_;
};

struct PolicyRun {
    explicit PolicyRun(Scenario& scenario);

    RecordingPowerProfiles profiles;
    RecordingScreenBlanking screen;
    RecordingDiskStandby disks;
    RecordingIdleSleep sleep;
    VirtualIdle idle;
    FixedDesktopPowerManager desktop;
    policy::PowerPolicyApplier applier;
};

// Adds idle, input, desktop-power-manager, profiles and can-hibernate; the monitor's
// power source hands its samples to the returned run's applier.
std::shared_ptr<PolicyRun> addPolicyCommands(Scenario& scenario);

}  // namespace tv::scenario
