#pragma once
// The six schemes a fresh system has, with their settings, and the writer that puts
// their binary records into a store.

#include <array>
#include <string>

#include "platform/registry_api.h"
#include "policy/power_policy.h"

namespace tv::powercfg {

inline constexpr const char* kPowerCfgKey = "Control Panel\\PowerCfg";
inline constexpr const char* kUserPoliciesKey = "Control Panel\\PowerCfg\\PowerPolicies";
inline constexpr const char* kMachinePoliciesKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg\\PowerPolicies";

struct DefaultScheme {
    const char* name;
    SchemeSettings settings;
};

inline constexpr std::size_t kDefaultSchemeCount = 6;
const std::array<DefaultScheme, kDefaultSchemeCount>& defaultSchemes();

// The records of default scheme n; scheme 0's for numbers outside the table.
PolicyRecords defaultRecords(int number);

// Writes the "Policies" records of the six default schemes (HKCU and HKLM halves),
// creating the keys as needed. Returns the first failure code, else ERROR_SUCCESS.
long seedPowerPolicies(RegistryApi& registry);

}  // namespace tv::powercfg
