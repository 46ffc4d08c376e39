#pragma once
// The power status read from a Linux power-supply class folder
// (/sys/class/power_supply, or a simulated one).
//
// Mains supplies give ACLineStatus. Batteries of the system (scope "Device" marks a
// mouse or headset battery and is skipped) combine by energy (sum of energy_now over
// sum of energy_full) or by charge, never by averaging percentages, rounding down; a
// single battery reports the kernel's own "capacity" where it has one. BatteryFlag is
// computed as the platform computes it: a battery held below full by a charge limit
// ("Not charging" on mains) has no charging bit.

#include <optional>
#include <string>

#include "platform/linux/environment.h"
#include "platform/power_status.h"

namespace tv {

// $TOLVANE_POWER_SUPPLY when set and not empty, else /sys/class/power_supply.
std::string powerSupplyDir(const EnvironmentLookup& environment);

// One reading of the folder; never throws, unreadable parts read as unknown.
SYSTEM_POWER_STATUS readPowerSupplyFolder(const std::string& dir);

// Whether a reading has the power source, a percentage and the flags.
bool isCompleteReading(const SYSTEM_POWER_STATUS& status);

// Reads the folder on every sample. A reading that loses part of a complete one (a
// read error, a battery folder briefly gone) is replaced by the last complete reading
// for up to kHeldSamples samples in a row; a loss that lasts longer is reported.
class SysfsPowerStatus : public PowerStatusSource {
  public:
    static constexpr int kHeldSamples = 3;

    explicit SysfsPowerStatus(std::string dir) : dir_(std::move(dir)) {}
    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override;
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
    std::optional<SYSTEM_POWER_STATUS> lastGood_;
    int missedSamples_ = 0;
};

}  // namespace tv
