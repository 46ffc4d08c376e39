#include "policy/power_applier.h"

#include <array>
#include <charconv>

#include "policy/default_schemes.h"

namespace tv::policy {

namespace {

constexpr const char* kTurnOnHint =
    "choose a scheme in Vantrel, or run: reg add \"HKCU\\Software\\Tolvane\" /v ApplyPowerScheme "
    "/d 1 /f";

// String data without its terminating NUL.
std::string asText(const powercfg::Bytes& bytes) {
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

}  // namespace

PowerPolicyApplier::PowerPolicyApplier(PowerPolicyServices services,
                                       std::function<void(const std::string&)> note)
    : services_(services),
      note_(std::move(note)),
      switchKey_(services.registry, HKEY_CURRENT_USER, kApplySwitchKey),
      powerCfgKey_(services.registry, HKEY_CURRENT_USER, powercfg::kPowerCfgKey),
      userKey_(services.registry, HKEY_CURRENT_USER),
      machineKey_(services.registry, HKEY_LOCAL_MACHINE) {}

void PowerPolicyApplier::refresh(const SYSTEM_POWER_STATUS& status) {
    PowerSource source = powerSourceOf(status);
    if (!switchedOn()) {
        turnedOff(source);
        return;
    }
    wasOn_ = true;
    if (!readActive()) {
        applied_.reset();
        plan_ = Plan{};
        return;
    }
    if (!applied_ || applied_->scheme != schemeNumber_ || applied_->source != source ||
        applied_->user != records_.user) {
        applied_ = Applied{schemeNumber_, records_.user, source};
        apply(source);
    }
    watchIdle(source);
}

void PowerPolicyApplier::turnedOff(PowerSource source) {
    if (wasOn_) {
        note_(
            "Tolvane: ApplyPowerScheme is no longer \"1\"; power schemes are not applied until "
            "it is");
        wasOn_ = false;
        announcedOff_ = true;
        applied_.reset();
        plan_ = Plan{};
        return;
    }
    if (announcedOff_ || !readActive()) {
        return;
    }
    if (std::optional<powercfg::SchemeSettings> settings = activeSettings()) {
        Plan plan = planFor(sideFor(*settings, source), probe());
        note_("Tolvane: power schemes are not applied until ApplyPowerScheme is \"1\"; on " +
              std::string(powerSourceName(source)) + " power scheme " + schemeName() +
              " would apply " + describePlan(plan) + ". To turn it on, " + kTurnOnHint);
        announcedOff_ = true;
    }
}

bool PowerPolicyApplier::switchedOn() {
    // Turning it on is looked for on every refresh; turning it off, a rare act, on every
    // few, which keeps an unchanged refresh to two store queries most of the time.
    if (wasOn_ && --refreshesToSwitchCheck_ > 0) {
        return true;
    }
    refreshesToSwitchCheck_ = kRefreshesPerSwitchCheck;
    return switchKey_.read(kApplySwitchValue, buffer_) && !buffer_.empty() && buffer_[0] == '1' &&
           (buffer_.size() == 1 || buffer_[1] == '\0');
}

void PowerPolicyApplier::problem(const std::string& text) {
    if (text != lastProblem_) {
        note_("Tolvane: " + text + "; nothing applied");
        lastProblem_ = text;
    }
}

bool PowerPolicyApplier::readActive() {
    int number = -1;
    if (!powerCfgKey_.read("CurrentPowerPolicy", buffer_)) {
        problem("no active power scheme is set");
        return false;
    }
    const char* begin = reinterpret_cast<const char*>(buffer_.data());
    const char* stop = begin + buffer_.size();
    while (stop != begin && stop[-1] == '\0') {
        --stop;
    }
    auto [end, ec] = std::from_chars(begin, stop, number);
    if (ec != std::errc() || end != stop || number < 0) {
        problem("the active power scheme \"" + asText(buffer_) + "\" is not a scheme number");
        return false;
    }
    if (number != schemeNumber_) {
        userKey_.setPath(std::string(powercfg::kUserPoliciesKey) + "\\" + std::to_string(number));
        machineKey_.setPath(std::string(powercfg::kMachinePoliciesKey) + "\\" +
                            std::to_string(number));
        schemeNumber_ = number;
    }
    if (!userKey_.read("Policies", records_.user)) {
        problem("the settings of power scheme " + std::to_string(number) +
                " are missing or damaged");
        return false;
    }
    lastProblem_.clear();
    return true;
}

std::optional<powercfg::SchemeSettings> PowerPolicyApplier::activeSettings() {
    std::optional<powercfg::SchemeSettings> settings;
    if (machineKey_.read("Policies", records_.machine)) {
        settings = powercfg::decodeSettings(records_);
    }
    if (!settings) {
        problem("the settings of power scheme " + std::to_string(schemeNumber_) +
                " are missing or damaged");
    }
    return settings;
}

MachineOffers PowerPolicyApplier::probe() {
    MachineOffers offers;
    offers.profiles = services_.profiles.offered();
    offers.screen = services_.screen.unavailable();
    offers.disks = services_.disks.unavailable();
    if (!services_.idle.idleSeconds()) {
        offers.idle = "no idle time from the display or the login manager";
    }
    offers.canHibernate = services_.sleep.canHibernate();
    offers.desktopPowerManager = services_.desktop.running();
    return offers;
}

std::string PowerPolicyApplier::schemeName() {
    StoreKey key(services_.registry, HKEY_CURRENT_USER, userKey_.path());
    if (key.read("Name", buffer_)) {
        return "\"" + asText(buffer_) + "\"";
    }
    return std::to_string(schemeNumber_);
}

void PowerPolicyApplier::apply(PowerSource source) {
    std::optional<powercfg::SchemeSettings> settings = activeSettings();
    if (!settings) {
        plan_ = Plan{};
        return;
    }
    MachineOffers offers = probe();
    plan_ = planFor(sideFor(*settings, source), offers);
    // The machine half holds only the hibernation time after standby; it is read
    // again when idling reaches standby, not on every refresh.
    hibernationAllowed_ =
        offers.canHibernate && offers.idle.empty() && offers.desktopPowerManager.empty();
    std::vector<std::string> skipped = plan_.skipped;
    auto attempt = [&](const std::string& what, const std::string& problem) {
        if (!problem.empty()) {
            skipped.push_back(what + " (" + problem + ")");
        }
        return problem.empty();
    };
    if (plan_.profile &&
        !attempt("profile " + *plan_.profile, services_.profiles.setProfile(*plan_.profile))) {
        plan_.profile.reset();
    }
    if (plan_.screenOffAfter &&
        !attempt("screen off", services_.screen.setOffAfter(*plan_.screenOffAfter))) {
        plan_.screenOffAfter.reset();
    }
    if (plan_.diskStandbyAfter &&
        !attempt("disk standby", services_.disks.setStandbyAfter(*plan_.diskStandbyAfter))) {
        plan_.diskStandbyAfter.reset();
    }
    std::string line = "Tolvane: power scheme " + schemeName() + " on " + powerSourceName(source) +
                       ": applied " + describePlan(plan_);
    if (!skipped.empty()) {
        line += "; skipped " + joined(skipped);
    }
    note_(line);
}

void PowerPolicyApplier::watchIdle(PowerSource source) {
    if (plan_.standbyAfter == 0 && plan_.hibernateAfter == 0) {
        return;
    }
    std::optional<std::uint32_t> idle = services_.idle.idleSeconds();
    if (!idle) {
        return;
    }
    if (hibernationAllowed_ && plan_.standbyAfter != 0 && *idle >= plan_.standbyAfter) {
        if (std::optional<powercfg::SchemeSettings> settings = activeSettings()) {
            plan_.hibernateAfter = sideFor(*settings, source).hibernate;
        }
    }
    IdleAction action = idleActions_.step(*idle, plan_.standbyAfter, plan_.hibernateAfter);
    if (action == IdleAction::None) {
        return;
    }
    bool hibernate = action == IdleAction::Hibernate;
    std::string problem = hibernate ? services_.sleep.hibernate() : services_.sleep.suspend();
    std::string line = "Tolvane: idle for " + durationText(*idle) + " on " +
                       powerSourceName(source) + ": " + (hibernate ? "hibernation" : "standby");
    note_(problem.empty() ? line + " requested" : line + " refused (" + problem + ")");
}

}  // namespace tv::policy
