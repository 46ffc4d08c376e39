#pragma once
// Every facility the power-policy applier drives, as a fake that records into one call
// log, for the applier's tests and the refresh benchmark.

#include "platform/testing/recording_power_effectors.h"
#include "policy/power_applier.h"
#include "runtime/call_log.h"

namespace tv::policy::testing {

struct PolicyFakes {
    explicit PolicyFakes(CallLog& calls)
        : profiles(calls), screen(calls), disks(calls), sleep(calls) {}

    PowerPolicyServices services(RegistryApi& registry) {
        return {registry, profiles, screen, disks, sleep, idle, desktop};
    }

    RecordingPowerProfiles profiles;
    RecordingScreenBlanking screen;
    RecordingDiskStandby disks;
    RecordingIdleSleep sleep;
    FixedIdleSource idle;
    FixedDesktopPowerManager desktop;
};

}  // namespace tv::policy::testing
