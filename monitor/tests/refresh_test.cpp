#include <gtest/gtest.h>

#include "monitor/tests/monitor_harness.h"

namespace tv::testing {
namespace {

TEST(StartUp, NoUsableBatteryShowsFixedTextsAndNeverRefreshes) {
    for (int flag : {128, 255}) {
        MonitorHarness h;
        frmMain& f = h.start(1, flag, 255);
        EXPECT_EQ(f.Caption, "Battery Status: Unknown");
        EXPECT_EQ(f.lblStatusString.Caption, "Battery Status:  Unknown");
        EXPECT_EQ(f.lblStatus.Caption, "Battery Status:  Unknown");
        EXPECT_EQ(f.lblTotal.Caption, "Tolvane:  0:00");
        EXPECT_EQ(f.lblLeft.Caption, "Life Remaining:  0:00");
        EXPECT_EQ(f.lblPower.Caption, "Power Source:  Unknown");
        EXPECT_EQ(f.mnuLife.Caption, "Tolvane:  0:00");
        EXPECT_EQ(f.mnuRemaining.Caption, "Life Remaining:  0:00");
        EXPECT_FALSE(f.tmrBattery.Enabled());
        EXPECT_TRUE(f.Visible);
        EXPECT_TRUE(h.called("> Shell_NotifyIcon 0 \"Battery Status: Unknown\" window"));
        h.calls.clear();
        h.set(0, 1, 90);
        h.wait(60);
        EXPECT_TRUE(h.calls.lines().empty());
        // The hibernation item is never updated and keeps its designed state.
        EXPECT_TRUE(f.mnuHibernate.Visible);
    }
}

TEST(StartUp, OnBatteryShowsTheStatusLineWithoutSuffixUntilTheFirstRefresh) {
    MonitorHarness h;
    frmMain& f = h.start(0, 8, 57);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 57%");
    EXPECT_EQ(f.lblStatus.Caption, "Battery Power Remaining: 57%");
    EXPECT_EQ(f.property("ReferencePercent"), PropValue(std::string("57")));
    EXPECT_EQ(f.lblMyStart.Caption, "57");
    EXPECT_EQ(f.lblPerc.Caption, "57");
    EXPECT_EQ(f.lblPercChg.Caption, "57");
    EXPECT_EQ(f.lblChargingTag.Caption, "0");
    EXPECT_EQ(f.XP_ProgressBar1.property("Color"), PropValue(ColorValue{0x2BD228}));
    EXPECT_EQ(f.Left, (1024 - f.Width) / 2);
    EXPECT_EQ(f.Top, (768 - f.Height) / 2);
    // The tray starts with the window's own icon; the rating icon follows on refresh.
    EXPECT_EQ(h.calls.lines().back(),
              "> Shell_NotifyIcon 0 \"Battery Power Remaining: 57%\" window");
    h.calls.clear();
    h.wait(4.999);
    EXPECT_TRUE(h.calls.lines().empty());
    h.wait(0.001);
    EXPECT_EQ(h.calls.lines().back(),
              "> Shell_NotifyIcon 1 \"Battery Power Remaining: 57%  (Charging)\" 1");
}

TEST(StartUp, ProductNameComesFromTheRegistryOrReadsError) {
    MonitorHarness h;
    EXPECT_EQ(h.start(0, 0, 50).Label3.Caption, "Microsoft Windows XP");
    MonitorHarness missing;
    HKEY key = 0;
    missing.registry.RegOpenKeyExA(
        HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_WRITE, &key);
    missing.registry.RegDeleteValueA(key, "ProductName");
    missing.registry.RegCloseKey(key);
    EXPECT_EQ(missing.start(0, 0, 50).Label3.Caption, "Error");
}

TEST(StartUp, AnotherInstanceEndsTheProgramAtOnce) {
    MonitorHarness h;
    h.instance.running = true;
    frmMain& f = h.start(0, 0, 50);
    EXPECT_EQ(h.calls.lines(), std::vector<std::string>{"> End"});
    EXPECT_FALSE(f.isLoaded());
    EXPECT_FALSE(f.standby().hooked());
    h.wait(30);
    EXPECT_EQ(h.calls.lines().size(), 1u);
}

TEST(RefreshCaption, ChargingFlagsAddTheSuffixOthersDoNot) {
    MonitorHarness h;
    frmMain& f = h.start(1, 9, 80);
    h.refresh(1, 9, 80);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 80%  (Charging)");
    EXPECT_EQ(f.lblStatus.Caption, "Battery Power Remaining: 80%");
    h.refresh(1, 12, 80);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 80%");
    EXPECT_EQ(f.lblBat.Caption, "12");
    EXPECT_EQ(f.lblAC.Caption, "1");
}

TEST(RefreshCaption, FullBatteryReadsFullyChargedAndStopsChargeEstimation) {
    MonitorHarness h;
    frmMain& f = h.start(1, 9, 99);
    h.refresh(1, 8, 100);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 100%  (Fully Charged)");
    EXPECT_EQ(f.lblCharging.Caption, "Fully Charged");
    EXPECT_FALSE(f.Label1.Visible);
    EXPECT_EQ(f.lblCharging.Tag, "1");
    EXPECT_FALSE(f.tmrCharge.Enabled());
    h.refresh(1, 1, 100);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 100%");
}

// A charge limit: on mains below full, and the battery is reported as not charging.
TEST(RefreshCaption, ABatteryHeldBelowFullAnnouncesNoCharging) {
    MonitorHarness h;
    frmMain& f = h.start(1, 9, 79);
    h.refresh(1, 1, 80);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 80%");
    EXPECT_FALSE(f.Label1.Visible);
    EXPECT_FALSE(f.lblCharging.Visible);
    EXPECT_EQ(f.mnuLife.Caption, "Battery Power Remaining: 80%");
    EXPECT_FALSE(f.tmrCharge.Enabled());
    // Charging again (the limit was lifted): the charging texts come back.
    h.refresh(1, 9, 80);
    EXPECT_TRUE(f.Label1.Visible);
    EXPECT_TRUE(f.lblCharging.Visible);
}

TEST(PowerSource, ReferenceIsRebasedOncePerPowerPeriod) {
    MonitorHarness h;
    frmMain& f = h.start(1, 8, 70);
    h.refresh(0, 1, 73);
    EXPECT_EQ(f.lblMyStart.Caption, "73");
    h.refresh(0, 1, 72);
    h.refresh(0, 1, 71);
    EXPECT_EQ(f.property("ReferencePercent"), PropValue(std::string("73")));
    h.refresh(1, 9, 71);
    EXPECT_EQ(f.property("ReferencePercent"), PropValue(std::string("71")));
    h.refresh(1, 9, 75);
    EXPECT_EQ(f.property("ReferencePercent"), PropValue(std::string("71")));
}

TEST(PowerSource, BatteryBranchShowsLifeLinesAndMenuEntries) {
    MonitorHarness h;
    frmMain& f = h.start(1, 8, 42);
    h.refresh(0, 0, 42);
    EXPECT_EQ(f.lblPower.Caption, "Power Source:  Battery");
    EXPECT_EQ(f.Picture2.Picture, "ADD");
    EXPECT_FALSE(f.Image1.Visible);
    EXPECT_FALSE(f.lblCharging.Visible);
    EXPECT_TRUE(f.lblLeft.Visible);
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  Calculating...");
    EXPECT_EQ(f.mnuRemaining.Caption, "Will take several minutes");
    f.lblLeft.Caption = "Life Remaining:  1:10";
    h.refresh(0, 0, 42);
    EXPECT_EQ(f.mnuRemaining.Caption, "Life Remaining:  1:10  (42%)");
}

TEST(PowerSource, MainsBranchShowsChargingAndResetsTheLifeLines) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 60);
    f.lblLeft.Caption = "Life Remaining:  2:00";
    h.refresh(1, 8, 60);
    EXPECT_EQ(f.lblPower.Caption, "Power Source:  AC");
    EXPECT_EQ(f.Picture2.Picture, "CONNECTED");
    EXPECT_TRUE(f.Image1.Visible);
    EXPECT_TRUE(f.Label1.Visible);
    EXPECT_FALSE(f.lblLeft.Visible);
    EXPECT_EQ(f.lblLeft.Caption, "Will take several minutes");
    EXPECT_EQ(f.lblTotal.Caption, "Calculating battery life...");
    EXPECT_EQ(f.mnuRemaining.Caption, "Power Source:  AC");
    EXPECT_EQ(f.mnuLife.Caption, "Full charge in:  Calculating...");
    f.mnuLife.Caption = "Full charge in:  1:00";
    h.refresh(1, 8, 60);
    EXPECT_EQ(f.mnuLife.Caption, "Full charge in:  Calculating...  (60%)");
}

TEST(PowerSource, UnknownLineStatusOnlyTurnsTheSourceLineRed) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 60);
    h.refresh(255, 0, 59);
    EXPECT_EQ(f.lblPower.Caption, "AC Status Unknown");
    EXPECT_EQ(f.lblPower.ForeColor, kRed);
    EXPECT_EQ(f.Picture2.Picture, "ADD");
    h.refresh(7, 0, 58);
    EXPECT_EQ(f.lblPower.Caption, "AC Status Unknown");
    EXPECT_EQ(f.lblAC.Caption, "7");
}

TEST(PowerSource, MissingPercentageHidesTheBarAndRatesZero) {
    MonitorHarness h;
    frmMain& f = h.start(1, 8, 60);
    h.refresh(1, 8, 255);
    EXPECT_FALSE(f.XP_ProgressBar1.Visible);
    EXPECT_EQ(f.XP_ProgressBar1.value(), 0);
    EXPECT_EQ(f.Caption, "Battery Power Remaining: 0%  (Charging)");
    EXPECT_EQ(f.lblStatusString.Caption, "Battery Charge:  Critical");
    // On mains the warning flag is set, so no warning opens.
    EXPECT_EQ(f.warningWindow(), nullptr);
    h.refresh(1, 8, 61);
    EXPECT_TRUE(f.XP_ProgressBar1.Visible);
}

}  // namespace
}  // namespace tv::testing
