#include <gtest/gtest.h>

#include "monitor/tests/monitor_harness.h"

namespace tv::testing {
namespace {

struct RatingCase {
    int percent;
    const char* icon;
    const char* word;
    Color color;
};

TEST(ChargeRating, BoundariesPickTextIconAndColour) {
    const RatingCase cases[] = {
        {100, "ok", "Excellent", kGreen}, {80, "ok", "Excellent", kGreen},
        {79, "PREF", "Good", kGreen},     {60, "PREF", "Good", kGreen},
        {59, "1", "OK", kGreen},          {25, "1", "OK", kGreen},
        {24, "Warning", "Low", kGreen},   {11, "Warning", "Low", kGreen},
        {10, "DELETE", "Critical", kRed}, {6, "DELETE", "Critical", kRed},
        {5, "DELETE", "Critical", kRed},  {0, "DELETE", "Critical", kRed},
    };
    for (const RatingCase& c : cases) {
        MonitorHarness h;
        frmMain& f = h.start(1, 8, 50);
        h.refresh(1, 8, c.percent);
        SCOPED_TRACE(c.percent);
        EXPECT_EQ(f.Picture1.Picture, c.icon);
        EXPECT_EQ(f.lblStatusString.Caption, std::string("Battery Charge:  ") + c.word);
        EXPECT_EQ(f.lblStatusString.ForeColor, c.color);
        EXPECT_EQ(f.lblStatus.ForeColor, c.color);
        EXPECT_EQ(f.tray().TrayIconData.hIcon, iconHandleFor(c.icon));
    }
}

TEST(ChargeRating, RatingIconReachesTheTrayOnTheNextModify) {
    MonitorHarness h;
    h.start(0, 0, 50);
    h.refresh(0, 0, 9);
    EXPECT_EQ(h.calls.lines().back(),
              "> Shell_NotifyIcon 1 \"Battery Power Remaining: 9%\" DELETE");
}

TEST(Blinking, CriticalOnBatteryBlinksOnlyAtFiveOrLess) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.refresh(0, 0, 10);
    EXPECT_FALSE(f.tmrBlink.Enabled());
    h.refresh(0, 0, 6);
    EXPECT_FALSE(f.tmrBlink.Enabled());
    h.refresh(0, 2, 5);
    EXPECT_TRUE(f.tmrBlink.Enabled());
    bool shown = f.lblStatusString.Visible;
    h.wait(0.5);
    EXPECT_NE(f.lblStatusString.Visible, shown);
    h.wait(0.5);
    EXPECT_EQ(f.lblStatusString.Visible, shown);
}

TEST(Blinking, ChargingFlagsStopItButNineDoesNot) {
    MonitorHarness h;
    frmMain& f = h.start(0, 6, 3);
    EXPECT_TRUE(f.tmrBlink.Enabled());
    h.refresh(1, 10, 3);
    EXPECT_FALSE(f.tmrBlink.Enabled());
    h.refresh(0, 6, 3);
    EXPECT_TRUE(f.tmrBlink.Enabled());
    // At 8 % BatteryFlag 9 is not charging for this rule: the line is shown and the
    // timer left as it is.
    h.refresh(1, 9, 8);
    EXPECT_TRUE(f.tmrBlink.Enabled());
    h.refresh(1, 8, 8);
    EXPECT_FALSE(f.tmrBlink.Enabled());
}

TEST(Blinking, JumpToAGoodChargeKeepsBlinkingUntilLowOrCharging) {
    MonitorHarness h;
    frmMain& f = h.start(0, 6, 4);
    h.refresh(0, 1, 90);
    EXPECT_EQ(f.lblStatusString.Caption, "Battery Charge:  Excellent");
    EXPECT_TRUE(f.tmrBlink.Enabled());
    h.refresh(0, 2, 20);
    EXPECT_FALSE(f.tmrBlink.Enabled());
    EXPECT_TRUE(f.lblStatusString.Visible);
}

TEST(LowBatteryWarning, OpensOnceBelowFivePercent) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    h.refresh(0, 6, 3);
    ASSERT_NE(f.warningWindow(), nullptr);
    EXPECT_TRUE(f.warningWindow()->isLoaded());
    EXPECT_EQ(f.Tag, "1");
    EXPECT_TRUE(h.called("> Load frmWarning"));
    f.warningWindow()->lblExit_Click();
    EXPECT_FALSE(f.warningWindow()->isLoaded());
    h.calls.clear();
    h.refresh(0, 6, 3);
    h.refresh(0, 6, 2);
    EXPECT_FALSE(f.warningWindow()->isLoaded());
    EXPECT_FALSE(h.called("> Load frmWarning"));
}

TEST(LowBatteryWarning, AtExactlyFivePercentReopensOnEveryRefresh) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    for (int i = 0; i < 3; ++i) {
        h.calls.clear();
        h.refresh(0, 2, 5);
        ASSERT_TRUE(f.warningWindow()->isLoaded());
        EXPECT_TRUE(h.called("> Load frmWarning"));
        f.warningWindow()->lblExit_Click();
    }
}

TEST(LowBatteryWarning, ShowingAnOpenWindowKeepsItWithoutReloading) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    h.refresh(0, 2, 5);
    frmWarning* first = f.warningWindow();
    h.calls.clear();
    h.refresh(0, 2, 5);
    EXPECT_EQ(f.warningWindow(), first);
    EXPECT_FALSE(h.called("> Load frmWarning"));
}

TEST(LowBatteryWarning, NeverOpensOnMains) {
    MonitorHarness h;
    frmMain& f = h.start(1, 10, 3);
    h.refresh(1, 10, 2);
    h.refresh(1, 14, 1);
    EXPECT_EQ(f.warningWindow(), nullptr);
}

TEST(LowBatteryWarning, ChargingAtLowChargeStillOpensWhenTheFlagIsClear) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    // On battery the flag is clear; BatteryFlag 10 stops the blinking but the warning
    // rule still runs.
    h.refresh(0, 10, 3);
    EXPECT_FALSE(f.tmrBlink.Enabled());
    ASSERT_NE(f.warningWindow(), nullptr);
    EXPECT_TRUE(f.warningWindow()->isLoaded());
}

TEST(WarningWindow, MessageRepeatsCaptionRatingAndLife) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    h.refresh(0, 6, 4);
    frmWarning& w = *f.warningWindow();
    EXPECT_EQ(w.lblMessage.Caption,
              "Battery Power Remaining: 20%\r\nBattery Charge:  Critical\r\n"
              "Tolvane Remaining:  Unknown");
    h.wait(0.5);
    EXPECT_EQ(w.lblMessage.Caption,
              "Battery Power Remaining: 4%\r\nBattery Charge:  Critical\r\n"
              "Tolvane Remaining:  Unknown");
    f.lblLeft.Caption = "Life Remaining:  0:12";
    h.wait(0.5);
    EXPECT_EQ(w.lblMessage.Caption,
              "Battery Power Remaining: 4%\r\nBattery Charge:  Critical\r\nLife Remaining:  0:12");
}

TEST(WarningWindow, HeadlineBlinksEveryHalfSecond) {
    MonitorHarness h;
    frmMain& f = h.start(0, 6, 4);
    frmWarning& w = *f.warningWindow();
    EXPECT_EQ(w.Caption, "Warning");
    EXPECT_TRUE(w.Label1.Visible);
    h.wait(0.5);
    EXPECT_FALSE(w.Label1.Visible);
    h.wait(0.5);
    EXPECT_TRUE(w.Label1.Visible);
}

TEST(WarningWindow, PluggingInKeepsItOpenWithTheChargingCaption) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    h.refresh(0, 6, 4);
    f.lblLeft.Caption = "Life Remaining:  0:12";
    h.refresh(1, 10, 4);
    h.wait(0.5);
    frmWarning& w = *f.warningWindow();
    EXPECT_TRUE(w.isLoaded());
    EXPECT_EQ(w.lblMessage.Caption,
              "Battery Power Remaining: 4%  (Charging)\r\nBattery Charge:  Critical\r\n"
              "Tolvane Remaining:  Unknown");
}

TEST(WarningWindow, ReopeningAfterCloseStartsFromDesignState) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 20);
    h.refresh(0, 6, 4);
    h.wait(0.5);
    EXPECT_FALSE(f.warningWindow()->Label1.Visible);
    f.warningWindow()->lblExit_Click();
    EXPECT_TRUE(h.called("> Unload frmWarning"));
    EXPECT_FALSE(f.warningWindow()->Timer1.Enabled());
    h.wait(4.5);
    h.refresh(0, 2, 6);
    h.refresh(0, 6, 4);
    ASSERT_TRUE(f.warningWindow()->isLoaded());
    EXPECT_TRUE(f.warningWindow()->Label1.Visible);
    EXPECT_TRUE(f.warningWindow()->Timer1.Enabled());
}

}  // namespace
}  // namespace tv::testing
