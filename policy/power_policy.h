#pragma once
// The settings of one power scheme and the two binary records the registry keeps
// them in, laid out byte for byte as the system's own power records, so that stores
// exported from that system import and work.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv::powercfg {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kUserPolicySize = 80;     // USER_POWER_POLICY
inline constexpr std::size_t kMachinePolicySize = 64;  // MACHINE_POWER_POLICY

enum class Throttle : std::uint8_t { None = 0, Constant = 1, Degrade = 2, Adaptive = 3 };

// One side (mains or battery) of a scheme. Times in seconds, 0 for never.
struct SideSettings {
    std::uint32_t monitor = 0;
    std::uint32_t disk = 0;
    std::uint32_t standby = 0;
    std::uint32_t hibernate = 0;  // counted from the start of idling, not from standby
    std::uint8_t throttle = 0;    // a Throttle value; others are shown as unsupported
    bool operator==(const SideSettings&) const = default;
};

struct SchemeSettings {
    SideSettings ac;
    SideSettings dc;
    bool operator==(const SchemeSettings&) const = default;
};

// The records of one scheme: the per-user half and the machine half.
struct PolicyRecords {
    Bytes user;
    Bytes machine;
};

// Reads the settings; records shorter than their layout count as missing (nullopt).
std::optional<SchemeSettings> decodeSettings(const PolicyRecords& records);

// Writes the settings into the records, keeping every byte that holds nothing we
// show. Fails (nullopt) when hibernation would not come after standby.
std::optional<PolicyRecords> encodeSettings(const SchemeSettings& settings, PolicyRecords records);

// "NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"; empty for other values.
std::string throttleName(std::uint8_t value);
// The policy for a name given without regard to case.
std::optional<Throttle> throttleFromName(const std::string& name);

}  // namespace tv::powercfg
