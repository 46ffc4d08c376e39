#pragma once
// The machine's power status as the platform reports it: one record refilled in place.

#include <cstdint>

namespace tv {

inline constexpr std::uint8_t AC_LINE_OFFLINE = 0;
inline constexpr std::uint8_t AC_LINE_ONLINE = 1;
inline constexpr std::uint8_t AC_LINE_UNKNOWN = 255;

inline constexpr std::uint8_t BATTERY_FLAG_HIGH = 1;
inline constexpr std::uint8_t BATTERY_FLAG_LOW = 2;
inline constexpr std::uint8_t BATTERY_FLAG_CRITICAL = 4;
inline constexpr std::uint8_t BATTERY_FLAG_CHARGING = 8;
inline constexpr std::uint8_t BATTERY_FLAG_NO_BATTERY = 128;
inline constexpr std::uint8_t BATTERY_FLAG_UNKNOWN = 255;

// The monitor compares the flag as a whole number, never bit by bit: charging with the
// high, the low or neither level bit counts as charging; charging while critical (12)
// does not.
inline constexpr bool isChargingFlag(std::uint8_t flag) {
    return flag == BATTERY_FLAG_CHARGING || flag == (BATTERY_FLAG_CHARGING | BATTERY_FLAG_HIGH) ||
           flag == (BATTERY_FLAG_CHARGING | BATTERY_FLAG_LOW);
}
// The blink rule knows only charging alone and charging while low.
inline constexpr bool stopsCriticalBlink(std::uint8_t flag) {
    return flag == BATTERY_FLAG_CHARGING || flag == (BATTERY_FLAG_CHARGING | BATTERY_FLAG_LOW);
}

inline constexpr std::uint8_t BATTERY_PERCENTAGE_UNKNOWN = 255;
inline constexpr std::uint32_t BATTERY_LIFE_UNKNOWN = 0xFFFFFFFFu;

struct SYSTEM_POWER_STATUS {
    std::uint8_t ACLineStatus = AC_LINE_UNKNOWN;
    std::uint8_t BatteryFlag = BATTERY_FLAG_UNKNOWN;
    std::uint8_t BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    std::uint8_t Reserved1 = 0;
    std::uint32_t BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    std::uint32_t BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
};

// The level bits the platform derives from a percentage: high above 66 %, low below
// 33 %, critical below 5 %, plus charging. Exactly 33 or 66 sets neither level bit.
std::uint8_t batteryFlagFor(int percent, bool charging);

class PowerStatusSource {
  public:
    virtual ~PowerStatusSource() = default;
    // Fills what it can; the callers ignore the result, as the platform's do.
    virtual bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) = 0;
};

inline std::uint8_t batteryFlagFor(int percent, bool charging) {
    std::uint8_t flag = 0;
    if (percent > 66) {
        flag |= BATTERY_FLAG_HIGH;
    }
    if (percent < 33) {
        flag |= BATTERY_FLAG_LOW;
    }
    if (percent < 5) {
        flag |= BATTERY_FLAG_CRITICAL;
    }
    if (charging) {
        flag |= BATTERY_FLAG_CHARGING;
    }
    return flag;
}

}  // namespace tv
