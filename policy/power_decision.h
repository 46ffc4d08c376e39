#pragma once
// What applying one power scheme does on this machine: a pure decision from the
// scheme's settings, the power source and what the machine offers, and the idle
// actions that follow from the session's idle time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/power_status.h"
#include "policy/power_policy.h"

namespace tv::policy {

enum class PowerSource { Mains, Battery };

// Battery only when the line is reported off and a battery is there; an unknown line
// counts as mains, the side that does less.
PowerSource powerSourceOf(const SYSTEM_POWER_STATUS& status);
const char* powerSourceName(PowerSource source);

// The scheme's half for the source: AC on mains, DC on battery.
const powercfg::SideSettings& sideFor(const powercfg::SchemeSettings& scheme, PowerSource source);

// What the machine offers at the moment of applying. An empty reason means the
// facility is there; otherwise it says why not ("no power-profiles-daemon").
struct MachineOffers {
    std::vector<std::string> profiles;  // empty: no profile daemon
    std::string screen;
    std::string idle;
    std::string disks;
    bool canHibernate = false;
    std::string desktopPowerManager;  // the bus name of one, or empty
};

inline constexpr const char* kPerformance = "performance";
inline constexpr const char* kBalanced = "balanced";
inline constexpr const char* kPowerSaver = "power-saver";

// NONE → performance, ADAPTIVE → balanced, CONSTANT and DEGRADE → power-saver; empty
// for a value that names no policy.
std::string profileForThrottle(std::uint8_t throttle);

struct Plan {
    std::optional<std::string> profile;
    std::optional<std::uint32_t> screenOffAfter;  // seconds, 0 = never
    std::optional<std::uint32_t> diskStandbyAfter;
    // Idle timeouts in force, in seconds of session idle time; 0 = never.
    std::uint32_t standbyAfter = 0;
    std::uint32_t hibernateAfter = 0;
    // "what (why)" for each setting left alone.
    std::vector<std::string> skipped;
};

Plan planFor(const powercfg::SideSettings& side, const MachineOffers& offers);

enum class IdleAction { None, Suspend, Hibernate };

// Idle standby and hibernation, each at most once per idle period: the idle time
// falling back (input) starts a new period. Timeouts count from the start of idling,
// whatever changed since, so a shorter timeout chosen during a long idle acts at the
// next look.
class IdleActions {
  public:
    IdleAction step(std::uint32_t idleSeconds, std::uint32_t standbyAfter,
                    std::uint32_t hibernateAfter);

  private:
    std::uint32_t lastIdle_ = 0;
    bool suspended_ = false;
    bool hibernated_ = false;
};

// "5 min", "1 h 30 min", "45 s", "never": for the notes on standard error.
std::string durationText(std::uint32_t seconds);
// One clause per planned action ("profile balanced, screen off after 5 min, ...").
std::string describePlan(const Plan& plan);

}  // namespace tv::policy
