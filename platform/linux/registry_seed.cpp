#include "platform/linux/registry_seed.h"

#include <string>

#include "policy/default_schemes.h"

namespace tv {
namespace {

struct SchemeDefault {
    const char* name;
    const char* description;
};

constexpr SchemeDefault kSchemes[] = {
    {"Home/Office Desk",
     "This scheme is suited to most home or desktop computers that are left plugged in all "
     "the time."},
    {"Portable/Laptop",
     "This scheme is designed for extended battery life for portable computers on the road."},
    {"Presentation", "This scheme keeps the monitor on for doing presentations."},
    {"Always On",
     "This scheme keeps the computer running so that it can be accessed from the network.  "
     "Use this scheme if you do not have network wakeup hardware."},
    {"Minimal Power Management",
     "This scheme keeps the computer on and optimizes it for high performance."},
    {"Max Battery", "This scheme is extremely aggressive for saving power."},
};

// Strings are stored with their terminator, as the system's own tools store them.
long setString(RegistryApi& registry, HKEY key, const std::string& name, const std::string& text) {
    return registry.RegSetValueExA(key, name, 0, REG_SZ,
                                   reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                   static_cast<std::uint32_t>(text.size() + 1));
}

long withKey(RegistryApi& registry, HKEY root, const std::string& path, const std::string& name,
             const std::string& text) {
    HKEY key = 0;
    long rc = registry.RegCreateKeyExA(root, path, &key);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (!name.empty() || !text.empty()) {
        rc = setString(registry, key, name, text);
    }
    registry.RegCloseKey(key);
    return rc;
}

}  // namespace

long seedRegistry(RegistryApi& registry) {
    long rc =
        withKey(registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                "ProductName", "Microsoft Windows XP");
    if (rc == ERROR_SUCCESS) {
        rc = withKey(registry, HKEY_LOCAL_MACHINE,
                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "", "");
    }
    const std::string powerCfg = "Control Panel\\PowerCfg";
    if (rc == ERROR_SUCCESS) {
        rc = withKey(registry, HKEY_CURRENT_USER, powerCfg, "CurrentPowerPolicy", "0");
    }
    for (int i = 0; i < 6 && rc == ERROR_SUCCESS; ++i) {
        std::string scheme = powerCfg + "\\PowerPolicies\\" + std::to_string(i);
        rc = withKey(registry, HKEY_CURRENT_USER, scheme, "Name", kSchemes[i].name);
        if (rc == ERROR_SUCCESS) {
            rc = withKey(registry, HKEY_CURRENT_USER, scheme, "Description",
                         kSchemes[i].description);
        }
    }
    if (rc == ERROR_SUCCESS) {
        rc = powercfg::seedPowerPolicies(registry);
    }
    return rc;
}

}  // namespace tv
