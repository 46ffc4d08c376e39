#pragma once
// The power-policy applier: on every sample of the power source it reads the switch
// and the active scheme from the store and, when either or the source changed,
// applies the matching half of the scheme through the machine's facilities. Between
// changes it only watches the idle time for idle standby and hibernation, so a choice
// the user makes elsewhere (the desktop's profile menu) stands until the next change.

#include <functional>
#include <optional>
#include <string>

#include "platform/power_effectors.h"
#include "platform/registry_api.h"
#include "policy/power_decision.h"
#include "policy/store_key.h"

namespace tv::policy {

// Nothing is applied until this value reads "1": a newly installed monitor must not
// start blanking screens or suspending machines on its own.
inline constexpr const char* kApplySwitchKey = "Software\\Tolvane";
inline constexpr const char* kApplySwitchValue = "ApplyPowerScheme";
// While on, the switch is read on every sixth refresh (30 s at the monitor's pace).
inline constexpr int kRefreshesPerSwitchCheck = 6;

struct PowerPolicyServices {
    RegistryApi& registry;
    PowerProfiles& profiles;
    ScreenBlanking& screen;
    DiskStandby& disks;
    IdleSleep& sleep;
    IdleSource& idle;
    DesktopPowerManager& desktop;
};

class PowerPolicyApplier {
  public:
    // note: one line per application (standard error in the programs).
    PowerPolicyApplier(PowerPolicyServices services, std::function<void(const std::string&)> note);

    void refresh(const SYSTEM_POWER_STATUS& status);

  private:
    struct Applied {
        int scheme = 0;
        powercfg::Bytes user;  // the scheme's per-user record as applied
        PowerSource source = PowerSource::Mains;
    };

    bool switchedOn();
    void turnedOff(PowerSource source);
    // Reads the active scheme's number and per-user record; false after saying once
    // why it cannot.
    bool readActive();
    // Adds the machine half and decodes both; nullopt after saying once why not.
    std::optional<powercfg::SchemeSettings> activeSettings();
    void problem(const std::string& text);
    MachineOffers probe();
    std::string schemeName();
    void apply(PowerSource source);
    void watchIdle(PowerSource source);

    PowerPolicyServices services_;
    std::function<void(const std::string&)> note_;
    std::optional<Applied> applied_;
    Plan plan_;
    IdleActions idleActions_;
    bool announcedOff_ = false;
    bool wasOn_ = false;
    bool hibernationAllowed_ = false;
    int refreshesToSwitchCheck_ = 0;
    std::string lastProblem_;
    // Held open and kept between refreshes, so an unchanged one costs two or three
    // queries.
    StoreKey switchKey_;
    StoreKey powerCfgKey_;
    StoreKey userKey_;
    StoreKey machineKey_;
    int schemeNumber_ = -1;
    powercfg::Bytes buffer_;
    powercfg::PolicyRecords records_;
};

// A power source that hands each sample to the applier as the window logic takes
// it, so the applier follows the monitor's own refresh.
class ApplyingPowerStatus : public PowerStatusSource {
  public:
    ApplyingPowerStatus(PowerStatusSource& source, PowerPolicyApplier& applier)
        : source_(source), applier_(applier) {}
    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override {
        bool ok = source_.GetSystemPowerStatus(status);
        applier_.refresh(status);
        return ok;
    }

  private:
    PowerStatusSource& source_;
    PowerPolicyApplier& applier_;
};

}  // namespace tv::policy
