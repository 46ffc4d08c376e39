#include "registry/active_scheme.h"

namespace tv {

std::string GetActiveSchemeName(General& general) {
    std::string index = general.RegReadString(kPowerCfgPath, "CurrentPowerPolicy");
    return general.RegReadString(kPowerPoliciesPath + index, "Name");
}

}  // namespace tv
