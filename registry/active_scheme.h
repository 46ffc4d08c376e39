#pragma once
// The active power scheme's display name, looked up the same way by both programs.

#include <string>

#include "registry/general.h"

namespace tv {

inline constexpr const char* kPowerCfgPath = "HKEY_CURRENT_USER\\Control Panel\\PowerCfg";
inline constexpr const char* kPowerPoliciesPath =
    "HKEY_CURRENT_USER\\Control Panel\\PowerCfg\\PowerPolicies\\";

// The name, or "Error" when either read fails. The index is used exactly as read.
std::string GetActiveSchemeName(General& general);

}  // namespace tv
