#include "policy/default_schemes.h"

#include <string>

namespace tv::powercfg {
namespace {

constexpr std::uint32_t kMinute = 60;
constexpr std::uint32_t kHour = 3600;
constexpr auto kNone = static_cast<std::uint8_t>(Throttle::None);
constexpr auto kDegrade = static_cast<std::uint8_t>(Throttle::Degrade);
constexpr auto kAdaptive = static_cast<std::uint8_t>(Throttle::Adaptive);

// Monitor, disks, standby, hibernation, throttle for mains, then for battery.
// Hibernation times are known for two entries only (mains of Portable/Laptop,
// battery of Home/Office Desk); the rest are off.
const std::array<DefaultScheme, kDefaultSchemeCount> kDefaults = {{
    {"Home/Office Desk",
     {{20 * kMinute, 0, 0, 0, kNone},
      {5 * kMinute, 10 * kMinute, 5 * kMinute, 20 * kMinute, kAdaptive}}},
    {"Portable/Laptop",
     {{15 * kMinute, 30 * kMinute, 20 * kMinute, 3 * kHour, kAdaptive},
      {5 * kMinute, 5 * kMinute, 5 * kMinute, 0, kAdaptive}}},
    {"Presentation", {{0, 0, 0, 0, kAdaptive}, {0, 5 * kMinute, 15 * kMinute, 0, kDegrade}}},
    {"Always On", {{20 * kMinute, 0, 0, 0, kNone}, {15 * kMinute, 30 * kMinute, 0, 0, kNone}}},
    {"Minimal Power Management",
     {{15 * kMinute, 0, 0, 0, kAdaptive}, {5 * kMinute, 15 * kMinute, 5 * kMinute, 0, kAdaptive}}},
    {"Max Battery",
     {{15 * kMinute, 0, 20 * kMinute, 0, kAdaptive},
      {1 * kMinute, 3 * kMinute, 2 * kMinute, 0, kDegrade}}},
}};

// The fields we never show still get the values a fresh system has: revision 1,
// deepest idle sleep S3, lightest S1, no forced throttling.
PolicyRecords blankRecords() {
    PolicyRecords records{Bytes(kUserPolicySize, 0), Bytes(kMachinePolicySize, 0)};
    records.user[0x00] = 1;
    records.user[0x24] = 50;  // idle sensitivity AC
    records.user[0x25] = 50;
    records.user[0x28] = 4;  // MaxSleep AC: S3
    records.user[0x2C] = 4;
    records.user[0x4A] = 100;  // fan throttle tolerance AC/DC
    records.user[0x4B] = 100;
    records.user[0x4C] = 100;  // forced throttle AC/DC
    records.user[0x4D] = 100;
    records.machine[0x00] = 1;
    records.machine[0x04] = 2;  // MinSleep AC/DC: S1
    records.machine[0x08] = 2;
    records.machine[0x0C] = 2;  // ReducedLatencySleep AC/DC: S1
    records.machine[0x10] = 2;
    return records;
}

long writeBinary(RegistryApi& registry, HKEY root, const std::string& path, const Bytes& bytes) {
    HKEY key = 0;
    long rc = registry.RegCreateKeyExA(root, path, &key);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = registry.RegSetValueExA(key, "Policies", 0, REG_BINARY, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size()));
    registry.RegCloseKey(key);
    return rc;
}

}  // namespace

const std::array<DefaultScheme, kDefaultSchemeCount>& defaultSchemes() {
    return kDefaults;
}

PolicyRecords defaultRecords(int number) {
    std::size_t index = number >= 0 && static_cast<std::size_t>(number) < kDefaults.size()
                            ? static_cast<std::size_t>(number)
                            : 0;
    // The table holds only valid pairs (hibernation after standby).
    return *encodeSettings(kDefaults[index].settings, blankRecords());
}

long seedPowerPolicies(RegistryApi& registry) {
    for (std::size_t i = 0; i < kDefaults.size(); ++i) {
        PolicyRecords records = defaultRecords(static_cast<int>(i));
        std::string number = "\\" + std::to_string(i);
        long rc = writeBinary(registry, HKEY_CURRENT_USER, kUserPoliciesKey + number, records.user);
        if (rc == ERROR_SUCCESS) {
            rc = writeBinary(registry, HKEY_LOCAL_MACHINE, kMachinePoliciesKey + number,
                             records.machine);
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace tv::powercfg
