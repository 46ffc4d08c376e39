#include <gtest/gtest.h>

#include <functional>

#include "platform/linux/registry_sqlite.h"
#include "policy/default_schemes.h"
#include "policy/power_applier.h"
#include "policy/testing/policy_fakes.h"

namespace tv::policy {
namespace {

using Lines = std::vector<std::string>;

class Applier : public ::testing::Test {
  protected:
    Applier() { idle.idle = 0; }

    void setText(const std::string& path, const std::string& name, const std::string& text) {
        HKEY key = 0;
        ASSERT_EQ(registry.RegCreateKeyExA(HKEY_CURRENT_USER, path, &key), ERROR_SUCCESS);
        std::string data = text + '\0';
        registry.RegSetValueExA(key, name, 0, REG_SZ,
                                reinterpret_cast<const std::uint8_t*>(data.data()),
                                static_cast<std::uint32_t>(data.size()));
        registry.RegCloseKey(key);
    }
    void turnOn() { setText(kApplySwitchKey, kApplySwitchValue, "1"); }
    void activate(int scheme) {
        setText(powercfg::kPowerCfgKey, "CurrentPowerPolicy", std::to_string(scheme));
    }
    // What `powercfg /CHANGE` writes: both halves of the scheme's records.
    void change(int scheme, const std::function<void(powercfg::SideSettings&)>& onBattery) {
        powercfg::SchemeSettings settings = powercfg::defaultSchemes()[scheme].settings;
        onBattery(settings.dc);
        powercfg::PolicyRecords records =
            *powercfg::encodeSettings(settings, powercfg::defaultRecords(scheme));
        std::string n = "\\" + std::to_string(scheme);
        setBinary(HKEY_CURRENT_USER, powercfg::kUserPoliciesKey + n, records.user);
        setBinary(HKEY_LOCAL_MACHINE, powercfg::kMachinePoliciesKey + n, records.machine);
    }
    void setBinary(HKEY root, const std::string& path, const powercfg::Bytes& bytes) {
        HKEY key = 0;
        registry.RegOpenKeyExA(root, path, 0, KEY_WRITE, &key);
        registry.RegSetValueExA(key, "Policies", 0, REG_BINARY, bytes.data(),
                                static_cast<std::uint32_t>(bytes.size()));
        registry.RegCloseKey(key);
    }
    void refreshOn(std::uint8_t ac) {
        SYSTEM_POWER_STATUS status;
        status.ACLineStatus = ac;
        status.BatteryFlag = BATTERY_FLAG_HIGH;
        applier.refresh(status);
    }
    Lines takeCalls() {
        Lines lines = calls.lines();
        calls.clear();
        return lines;
    }

    SqliteRegistry registry{":memory:"};
    CallLog calls;
    testing::PolicyFakes fakes{calls};
    RecordingPowerProfiles& profiles = fakes.profiles;
    RecordingIdleSleep& sleep = fakes.sleep;
    FixedIdleSource& idle = fakes.idle;
    FixedDesktopPowerManager& desktop = fakes.desktop;
    Lines notes;
    PowerPolicyApplier applier{fakes.services(registry),
                               [this](const std::string& line) { notes.push_back(line); }};
};

const Lines kHomeOnBattery = {"> PowerProfile \"balanced\"", "> ScreenOffAfter 300",
                              "> DiskStandbyAfter 600"};

TEST_F(Applier, NothingHappensUntilTurnedOnAndThenTheSourceHalfIsApplied) {
    idle.idle = 4000;
    refreshOn(AC_LINE_OFFLINE);
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_TRUE(takeCalls().empty());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("would apply profile balanced, screen off after 5 min"),
              std::string::npos);
    EXPECT_NE(notes[0].find("ApplyPowerScheme /d 1"), std::string::npos);

    idle.idle = 0;
    turnOn();
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), kHomeOnBattery);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1],
              "Tolvane: power scheme \"Home/Office Desk\" on battery: applied profile balanced, "
              "screen off after 5 min, disk standby after 10 min, standby after 5 min idle; "
              "skipped hibernation (the login manager does not offer it)");

    setText(kApplySwitchKey, kApplySwitchValue, "0");
    for (int i = 0; i < kRefreshesPerSwitchCheck; ++i) {
        refreshOn(AC_LINE_OFFLINE);
    }
    EXPECT_EQ(notes.size(), 3u);
    idle.idle = 4000;
    refreshOn(AC_LINE_ONLINE);
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(notes.size(), 3u);
}

TEST_F(Applier, AppliesOnChangesOnlyAndNeverReasserts) {
    turnOn();
    refreshOn(AC_LINE_ONLINE);
    EXPECT_EQ(takeCalls(), (Lines{"> PowerProfile \"performance\"", "> ScreenOffAfter 1200",
                                  "> DiskStandbyAfter 0"}));
    refreshOn(AC_LINE_ONLINE);
    EXPECT_TRUE(takeCalls().empty());

    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), kHomeOnBattery);

    activate(5);
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), (Lines{"> PowerProfile \"power-saver\"", "> ScreenOffAfter 60",
                                  "> DiskStandbyAfter 180"}));

    change(5, [](powercfg::SideSettings& dc) { dc.monitor = 120; });
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls()[1], "> ScreenOffAfter 120");
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(notes.size(), 4u);
}

TEST_F(Applier, UnpluggingDuringAnIdlePeriodCountsFromItsStart) {
    turnOn();
    idle.idle = 200;
    refreshOn(AC_LINE_ONLINE);  // no standby on mains
    idle.idle = 320;
    refreshOn(AC_LINE_ONLINE);
    takeCalls();
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls().back(), "> IdleSuspend");
    idle.idle = 325;
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_TRUE(takeCalls().empty());
    idle.idle = 3;  // input
    refreshOn(AC_LINE_OFFLINE);
    idle.idle = 300;
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), Lines{"> IdleSuspend"});
}

TEST_F(Applier, ASchemeChosenWhileIdleActsOnTheIdleTimeSoFar) {
    turnOn();
    activate(3);  // Always On: no standby
    idle.idle = 400;
    sleep.hibernation = true;
    refreshOn(AC_LINE_OFFLINE);
    takeCalls();
    activate(5);  // Max Battery: standby after 2 min on battery
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls().back(), "> IdleSuspend");
}

TEST_F(Applier, AHibernationTimeChangedAloneCountsOnceIdlingReachesStandby) {
    turnOn();
    sleep.hibernation = true;
    activate(1);  // Portable/Laptop: standby after 5 min on battery, no hibernation
    refreshOn(AC_LINE_OFFLINE);
    takeCalls();
    // Only the machine half changes: nothing is applied again.
    change(1, [](powercfg::SideSettings& dc) { dc.hibernate = 600; });
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_TRUE(takeCalls().empty());
    idle.idle = 300;
    refreshOn(AC_LINE_OFFLINE);
    idle.idle = 600;
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), (Lines{"> IdleSuspend", "> IdleHibernate"}));
}

TEST_F(Applier, ADamagedSchemeIsReportedOnceAndChangesNothing) {
    turnOn();
    activate(42);
    refreshOn(AC_LINE_OFFLINE);
    refreshOn(AC_LINE_OFFLINE);
    setText(powercfg::kPowerCfgKey, "CurrentPowerPolicy", "x");
    refreshOn(AC_LINE_OFFLINE);
    activate(2);
    setBinary(HKEY_LOCAL_MACHINE, std::string(powercfg::kMachinePoliciesKey) + "\\2", {1, 0});
    refreshOn(AC_LINE_OFFLINE);
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(notes, (Lines{"Tolvane: the settings of power scheme 42 are missing or damaged; "
                            "nothing applied",
                            "Tolvane: the active power scheme \"x\" is not a scheme number; "
                            "nothing applied",
                            "Tolvane: the settings of power scheme 2 are missing or damaged; "
                            "nothing applied"}));
}

TEST_F(Applier, ARefusalIsReportedAndTheRestStillApplies) {
    turnOn();
    profiles.refusal = "not authorised";
    desktop.name = "org.gnome.SettingsDaemon.Power";
    idle.idle = 4000;
    refreshOn(AC_LINE_OFFLINE);
    EXPECT_EQ(takeCalls(), Lines{"> PowerProfile \"balanced\""});
    EXPECT_EQ(notes.back(),
              "Tolvane: power scheme \"Home/Office Desk\" on battery: applied nothing; skipped "
              "screen, disks and idle actions (left to org.gnome.SettingsDaemon.Power), "
              "profile balanced (not authorised)");
}

}  // namespace
}  // namespace tv::policy
