#include "policy/power_policy.h"

#include <array>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv::powercfg {
namespace {

// USER_POWER_POLICY
constexpr std::size_t kIdleActionAc = 0x04;
constexpr std::size_t kIdleActionDc = 0x10;
constexpr std::size_t kIdleTimeoutAc = 0x1C;
constexpr std::size_t kIdleTimeoutDc = 0x20;
constexpr std::size_t kThrottleAc = 0x26;
constexpr std::size_t kThrottleDc = 0x27;
constexpr std::size_t kVideoTimeoutAc = 0x38;
constexpr std::size_t kVideoTimeoutDc = 0x3C;
constexpr std::size_t kSpindownTimeoutAc = 0x40;
constexpr std::size_t kSpindownTimeoutDc = 0x44;
// MACHINE_POWER_POLICY
constexpr std::size_t kDozeS4TimeoutAc = 0x1C;
constexpr std::size_t kDozeS4TimeoutDc = 0x20;

// POWER_ACTION
constexpr std::uint32_t kActionNone = 0;
constexpr std::uint32_t kActionSleep = 2;
constexpr std::uint32_t kActionHibernate = 3;

constexpr std::array<const char*, 4> kThrottleNames = {"NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"};

std::uint32_t read32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void write32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

struct SideOffsets {
    std::size_t action, idle, throttle, video, spindown, dozeS4;
};
constexpr SideOffsets kAc{kIdleActionAc,   kIdleTimeoutAc,     kThrottleAc,
                          kVideoTimeoutAc, kSpindownTimeoutAc, kDozeS4TimeoutAc};
constexpr SideOffsets kDc{kIdleActionDc,   kIdleTimeoutDc,     kThrottleDc,
                          kVideoTimeoutDc, kSpindownTimeoutDc, kDozeS4TimeoutDc};

// An idle action of hibernation means standby is off and the idle time is the
// hibernation time; otherwise hibernation follows standby after the doze time.
SideSettings decodeSide(const PolicyRecords& r, const SideOffsets& at) {
    SideSettings side;
    side.monitor = read32(r.user, at.video);
    side.disk = read32(r.user, at.spindown);
    side.throttle = r.user[at.throttle];
    std::uint32_t idle = read32(r.user, at.idle);
    std::uint32_t doze = read32(r.machine, at.dozeS4);
    if (read32(r.user, at.action) == kActionHibernate) {
        side.hibernate = idle;
    } else {
        side.standby = idle;
        side.hibernate = doze == 0 ? 0 : idle + doze;
    }
    return side;
}

bool encodeSide(const SideSettings& side, PolicyRecords& r, const SideOffsets& at) {
    write32(r.user, at.video, side.monitor);
    write32(r.user, at.spindown, side.disk);
    r.user[at.throttle] = side.throttle;
    std::uint32_t action = side.standby != 0 ? kActionSleep : kActionNone;
    std::uint32_t idle = side.standby;
    std::uint32_t doze = 0;
    if (side.hibernate != 0 && side.standby == 0) {
        action = kActionHibernate;
        idle = side.hibernate;
    } else if (side.hibernate != 0) {
        if (side.hibernate <= side.standby) {
            return false;
        }
        doze = side.hibernate - side.standby;
    }
    write32(r.user, at.action, action);
    write32(r.user, at.idle, idle);
    write32(r.machine, at.dozeS4, doze);
    return true;
}

}  // namespace

std::optional<SchemeSettings> decodeSettings(const PolicyRecords& records) {
    if (records.user.size() < kUserPolicySize || records.machine.size() < kMachinePolicySize) {
        return std::nullopt;
    }
    return SchemeSettings{decodeSide(records, kAc), decodeSide(records, kDc)};
}

std::optional<PolicyRecords> encodeSettings(const SchemeSettings& settings, PolicyRecords records) {
    if (records.user.size() < kUserPolicySize) {
        records.user.resize(kUserPolicySize, 0);
        write32(records.user, 0, 1);
    }
    if (records.machine.size() < kMachinePolicySize) {
        records.machine.resize(kMachinePolicySize, 0);
        write32(records.machine, 0, 1);
    }
    if (!encodeSide(settings.ac, records, kAc) || !encodeSide(settings.dc, records, kDc)) {
        return std::nullopt;
    }
    return records;
}

std::string throttleName(std::uint8_t value) {
    return value < kThrottleNames.size() ? kThrottleNames[value] : "";
}

std::optional<Throttle> throttleFromName(const std::string& name) {
    for (std::size_t i = 0; i < kThrottleNames.size(); ++i) {
        if (equalsIgnoreCase(name, kThrottleNames[i])) {
            return static_cast<Throttle>(i);
        }
    }
    return std::nullopt;
}

}  // namespace tv::powercfg
