#include <gtest/gtest.h>

#include "policy/default_schemes.h"
#include "policy/power_decision.h"

namespace tv::policy {
namespace {

MachineOffers everything() {
    MachineOffers offers;
    offers.profiles = {kPerformance, kBalanced, kPowerSaver};
    offers.canHibernate = true;
    return offers;
}

TEST(PowerSource, BatteryOnlyWhenTheLineIsOffAndABatteryIsThere) {
    SYSTEM_POWER_STATUS status;
    status.ACLineStatus = AC_LINE_OFFLINE;
    status.BatteryFlag = BATTERY_FLAG_HIGH;
    EXPECT_EQ(powerSourceOf(status), PowerSource::Battery);
    status.BatteryFlag = BATTERY_FLAG_NO_BATTERY;
    EXPECT_EQ(powerSourceOf(status), PowerSource::Mains);
    status.BatteryFlag = 0;
    status.ACLineStatus = AC_LINE_UNKNOWN;
    EXPECT_EQ(powerSourceOf(status), PowerSource::Mains);
}

struct Expected {
    const char* profile;
    std::uint32_t screen, disk, standby, hibernate;
};

TEST(SchemePlan, EveryDefaultSchemeOnMainsAndOnBattery) {
    // Per scheme: mains, then battery. "Never" (0) is applied too: it switches off.
    const Expected expected[][2] = {
        {{"performance", 1200, 0, 0, 0}, {"balanced", 300, 600, 300, 1200}},
        {{"balanced", 900, 1800, 1200, 10800}, {"balanced", 300, 300, 300, 0}},
        {{"balanced", 0, 0, 0, 0}, {"power-saver", 0, 300, 900, 0}},
        {{"performance", 1200, 0, 0, 0}, {"performance", 900, 1800, 0, 0}},
        {{"balanced", 900, 0, 0, 0}, {"balanced", 300, 900, 300, 0}},
        {{"balanced", 900, 0, 1200, 0}, {"power-saver", 60, 180, 120, 0}},
    };
    for (std::size_t n = 0; n < powercfg::kDefaultSchemeCount; ++n) {
        const powercfg::SchemeSettings& scheme = powercfg::defaultSchemes()[n].settings;
        for (PowerSource source : {PowerSource::Mains, PowerSource::Battery}) {
            const Expected& want = expected[n][source == PowerSource::Battery ? 1 : 0];
            Plan plan = planFor(sideFor(scheme, source), everything());
            SCOPED_TRACE(std::string(powercfg::defaultSchemes()[n].name) + " on " +
                         powerSourceName(source));
            EXPECT_EQ(plan.profile, want.profile);
            EXPECT_EQ(plan.screenOffAfter, want.screen);
            EXPECT_EQ(plan.diskStandbyAfter, want.disk);
            EXPECT_EQ(plan.standbyAfter, want.standby);
            EXPECT_EQ(plan.hibernateAfter, want.hibernate);
            EXPECT_TRUE(plan.skipped.empty());
        }
    }
}

const powercfg::SideSettings kHomeOnBattery = powercfg::defaultSchemes()[0].settings.dc;
const powercfg::SideSettings kHomeOnMains = powercfg::defaultSchemes()[0].settings.ac;

TEST(SchemePlan, AProfileTheDaemonLacksFallsBackToBalanced) {
    MachineOffers placeholder = everything();
    placeholder.profiles = {kPowerSaver, kBalanced};
    EXPECT_EQ(planFor(kHomeOnMains, placeholder).profile, kBalanced);

    MachineOffers odd = everything();
    odd.profiles = {kPerformance};
    Plan plan = planFor(kHomeOnBattery, odd);
    EXPECT_FALSE(plan.profile);
    EXPECT_EQ(plan.skipped,
              std::vector<std::string>{"profile (the daemon does not offer balanced)"});

    MachineOffers none = everything();
    none.profiles.clear();
    EXPECT_EQ(planFor(kHomeOnBattery, none).skipped,
              std::vector<std::string>{"profile (no power-profiles-daemon)"});

    powercfg::SideSettings unknown = kHomeOnBattery;
    unknown.throttle = 7;
    EXPECT_FALSE(planFor(unknown, everything()).profile);
}

TEST(SchemePlan, WhatTheMachineLacksIsSkippedWithItsReason) {
    MachineOffers lacking = everything();
    lacking.screen = "Wayland: left to the compositor";
    lacking.idle = "no idle time";
    lacking.disks = "not allowed";
    Plan plan = planFor(kHomeOnBattery, lacking);
    EXPECT_EQ(plan.profile, kBalanced);
    EXPECT_FALSE(plan.screenOffAfter);
    EXPECT_FALSE(plan.diskStandbyAfter);
    EXPECT_EQ(plan.standbyAfter, 0u);
    EXPECT_EQ(plan.hibernateAfter, 0u);
    EXPECT_EQ(plan.skipped,
              (std::vector<std::string>{"screen off (Wayland: left to the compositor)",
                                        "disk standby (not allowed)",
                                        "idle standby and hibernation (no idle time)"}));

    MachineOffers noHibernation = everything();
    noHibernation.canHibernate = false;
    plan = planFor(kHomeOnBattery, noHibernation);
    EXPECT_EQ(plan.standbyAfter, 300u);
    EXPECT_EQ(plan.hibernateAfter, 0u);
    EXPECT_EQ(plan.skipped.size(), 1u);
}

TEST(SchemePlan, ADesktopPowerManagerKeepsEverythingButTheProfile) {
    MachineOffers desktop = everything();
    desktop.desktopPowerManager = "org.kde.Solid.PowerManagement";
    Plan plan = planFor(kHomeOnBattery, desktop);
    EXPECT_EQ(plan.profile, kBalanced);
    EXPECT_FALSE(plan.screenOffAfter);
    EXPECT_FALSE(plan.diskStandbyAfter);
    EXPECT_EQ(plan.standbyAfter + plan.hibernateAfter, 0u);
    EXPECT_EQ(describePlan(plan), "profile balanced");
}

TEST(IdleActions, EachActsOncePerIdlePeriodAndInputStartsANewOne) {
    IdleActions idle;
    EXPECT_EQ(idle.step(299, 300, 1200), IdleAction::None);
    EXPECT_EQ(idle.step(304, 300, 1200), IdleAction::Suspend);
    EXPECT_EQ(idle.step(309, 300, 1200), IdleAction::None);
    EXPECT_EQ(idle.step(1200, 300, 1200), IdleAction::Hibernate);
    EXPECT_EQ(idle.step(5000, 300, 1200), IdleAction::None);
    EXPECT_EQ(idle.step(2, 300, 1200), IdleAction::None);
    // Past both at the first look: hibernation alone.
    EXPECT_EQ(idle.step(1300, 300, 1200), IdleAction::Hibernate);
    EXPECT_EQ(idle.step(1305, 300, 1200), IdleAction::None);
}

TEST(IdleActions, AShorterTimeoutChosenDuringIdlingActsAtTheNextLook) {
    IdleActions idle;
    EXPECT_EQ(idle.step(400, 0, 0), IdleAction::None);
    EXPECT_EQ(idle.step(405, 120, 0), IdleAction::Suspend);
    // Standby already happened in this period; a new scheme does not repeat it.
    EXPECT_EQ(idle.step(410, 300, 0), IdleAction::None);
}

TEST(DurationText, ReadsAsTheSchemeShowsIt) {
    EXPECT_EQ(durationText(0), "never");
    EXPECT_EQ(durationText(45), "45 s");
    EXPECT_EQ(durationText(300), "5 min");
    EXPECT_EQ(durationText(5400), "1 h 30 min");
    EXPECT_EQ(durationText(10800), "3 h");
}

}  // namespace
}  // namespace tv::policy
