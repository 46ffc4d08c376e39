#include "policy/power_decision.h"

#include <algorithm>

namespace tv::policy {

PowerSource powerSourceOf(const SYSTEM_POWER_STATUS& status) {
    bool battery =
        status.BatteryFlag != BATTERY_FLAG_NO_BATTERY && status.BatteryFlag != BATTERY_FLAG_UNKNOWN;
    return status.ACLineStatus == AC_LINE_OFFLINE && battery ? PowerSource::Battery
                                                             : PowerSource::Mains;
}

const char* powerSourceName(PowerSource source) {
    return source == PowerSource::Battery ? "battery" : "mains";
}

const powercfg::SideSettings& sideFor(const powercfg::SchemeSettings& scheme, PowerSource source) {
    return source == PowerSource::Battery ? scheme.dc : scheme.ac;
}

std::string profileForThrottle(std::uint8_t throttle) {
    switch (static_cast<powercfg::Throttle>(throttle)) {
        case powercfg::Throttle::None:
            return kPerformance;
        case powercfg::Throttle::Adaptive:
            return kBalanced;
        case powercfg::Throttle::Constant:
        case powercfg::Throttle::Degrade:
            return kPowerSaver;
    }
    return {};
}

namespace {

bool offers(const MachineOffers& machine, const std::string& profile) {
    return std::find(machine.profiles.begin(), machine.profiles.end(), profile) !=
           machine.profiles.end();
}

void planProfile(const powercfg::SideSettings& side, const MachineOffers& machine, Plan& plan) {
    std::string wanted = profileForThrottle(side.throttle);
    if (machine.profiles.empty()) {
        plan.skipped.push_back("profile (no power-profiles-daemon)");
    } else if (wanted.empty()) {
        plan.skipped.push_back("profile (processor throttle " + std::to_string(side.throttle) +
                               " names no policy)");
    } else if (offers(machine, wanted)) {
        plan.profile = wanted;
    } else if (offers(machine, kBalanced)) {
        plan.profile = kBalanced;
    } else {
        plan.skipped.push_back(wanted == kBalanced ? "profile (the daemon does not offer balanced)"
                                                   : "profile (the daemon offers neither " +
                                                         wanted + " nor balanced)");
    }
}

void planIdle(const powercfg::SideSettings& side, const MachineOffers& machine, Plan& plan) {
    if (side.standby == 0 && side.hibernate == 0) {
        return;
    }
    if (!machine.idle.empty()) {
        plan.skipped.push_back("idle standby and hibernation (" + machine.idle + ")");
        return;
    }
    plan.standbyAfter = side.standby;
    if (side.hibernate != 0 && machine.canHibernate) {
        plan.hibernateAfter = side.hibernate;
    } else if (side.hibernate != 0) {
        plan.skipped.push_back("hibernation (the login manager does not offer it)");
    }
}

}  // namespace

Plan planFor(const powercfg::SideSettings& side, const MachineOffers& machine) {
    Plan plan;
    planProfile(side, machine, plan);
    // The desktop's own power manager keeps the screen, the disks and the idle actions.
    if (!machine.desktopPowerManager.empty()) {
        plan.skipped.push_back("screen, disks and idle actions (left to " +
                               machine.desktopPowerManager + ")");
        return plan;
    }
    if (machine.screen.empty()) {
        plan.screenOffAfter = side.monitor;
    } else {
        plan.skipped.push_back("screen off (" + machine.screen + ")");
    }
    if (machine.disks.empty()) {
        plan.diskStandbyAfter = side.disk;
    } else {
        plan.skipped.push_back("disk standby (" + machine.disks + ")");
    }
    planIdle(side, machine, plan);
    return plan;
}

IdleAction IdleActions::step(std::uint32_t idleSeconds, std::uint32_t standbyAfter,
                             std::uint32_t hibernateAfter) {
    if (idleSeconds < lastIdle_) {
        suspended_ = hibernated_ = false;
    }
    lastIdle_ = idleSeconds;
    if (hibernateAfter != 0 && idleSeconds >= hibernateAfter && !hibernated_) {
        // Standby on the way to hibernation would only wake up again.
        hibernated_ = suspended_ = true;
        return IdleAction::Hibernate;
    }
    if (standbyAfter != 0 && idleSeconds >= standbyAfter && !suspended_ && !hibernated_) {
        suspended_ = true;
        return IdleAction::Suspend;
    }
    return IdleAction::None;
}

std::string durationText(std::uint32_t seconds) {
    if (seconds == 0) {
        return "never";
    }
    if (seconds % 60 != 0) {
        return std::to_string(seconds) + " s";
    }
    std::uint32_t minutes = seconds / 60;
    if (minutes < 60) {
        return std::to_string(minutes) + " min";
    }
    std::string text = std::to_string(minutes / 60) + " h";
    return minutes % 60 == 0 ? text : text + " " + std::to_string(minutes % 60) + " min";
}

std::string describePlan(const Plan& plan) {
    std::vector<std::string> parts;
    if (plan.profile) {
        parts.push_back("profile " + *plan.profile);
    }
    if (plan.screenOffAfter) {
        parts.push_back(*plan.screenOffAfter == 0
                            ? "screen never off"
                            : "screen off after " + durationText(*plan.screenOffAfter));
    }
    if (plan.diskStandbyAfter) {
        parts.push_back(*plan.diskStandbyAfter == 0
                            ? "disk standby off"
                            : "disk standby after " + durationText(*plan.diskStandbyAfter));
    }
    if (plan.standbyAfter != 0) {
        parts.push_back("standby after " + durationText(plan.standbyAfter) + " idle");
    }
    if (plan.hibernateAfter != 0) {
        parts.push_back("hibernation after " + durationText(plan.hibernateAfter) + " idle");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text.empty() ? "nothing" : text;
}

}  // namespace tv::policy
