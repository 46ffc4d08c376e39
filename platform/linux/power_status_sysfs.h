#pragma once
// The power status read from a Linux power-supply class folder
// (/sys/class/power_supply, or a simulated one).
//
// Mains supplies give ACLineStatus. Batteries of the system (scope "Device" marks a
// mouse or headset battery and is skipped) combine by energy (sum of energy_now over
// sum of energy_full) or by charge, never by averaging percentages; "capacity" is the
// fallback. BatteryFlag is computed as the platform computes it.

#include <string>

#include "platform/linux/environment.h"
#include "platform/power_status.h"

namespace tv {

// $TOLVANE_POWER_SUPPLY when set and not empty, else /sys/class/power_supply.
std::string powerSupplyDir(const EnvironmentLookup& environment);

// One reading of the folder; never throws, unreadable parts read as unknown.
SYSTEM_POWER_STATUS readPowerSupplyFolder(const std::string& dir);

class SysfsPowerStatus : public PowerStatusSource {
  public:
    explicit SysfsPowerStatus(std::string dir) : dir_(std::move(dir)) {}
    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override;
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
};

}  // namespace tv
