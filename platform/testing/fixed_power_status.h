#pragma once
// A power source that returns whatever was set last.

#include "platform/power_status.h"

namespace tv {

// Returns whatever was set last; for tests and the scenario runner.
class FixedPowerStatus : public PowerStatusSource {
  public:
    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override {
        status = next;
        return true;
    }
    void set(std::uint8_t ac, std::uint8_t flag, std::uint8_t percent) {
        next.ACLineStatus = ac;
        next.BatteryFlag = flag;
        next.BatteryLifePercent = percent;
    }

    SYSTEM_POWER_STATUS next;
};

}  // namespace tv
