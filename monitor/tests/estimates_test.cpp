#include <gtest/gtest.h>

#include "monitor/tests/monitor_harness.h"

namespace tv::testing {
namespace {

std::string state(const frmMain& f, const char* name) {
    return std::get<std::string>(*f.property(name));
}

// On battery from 80 %, the first point lost at the refresh at 5 s.
void measureFrom79(MonitorHarness& h) {
    h.start(0, 1, 80);
    h.refresh(0, 1, 79);
}

TEST(DischargeEstimate, FirstMeasurementWaitsForAPointBelowTheReference) {
    MonitorHarness h;
    frmMain& f = h.start(0, 1, 80);
    h.refresh(0, 1, 80);
    EXPECT_FALSE(f.tmrCalc.Enabled());
    h.refresh(0, 1, 79);
    EXPECT_TRUE(f.tmrCalc.Enabled());
    EXPECT_EQ(state(f, "DischargeStartPercent"), "79");
    EXPECT_EQ(f.lblTotal.Tag, "1");
}

TEST(DischargeEstimate, WorkedExampleGivesThreeFiftySixAndFiveOThree) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    // Armed at 5 s; the refresh at 205 s shows 78 % just before the tick that counts
    // second 200.
    h.wait(199);
    EXPECT_TRUE(f.tmrCalc.Enabled());
    EXPECT_EQ(f.lblSecs.Caption, "199");
    h.set(0, 1, 78);
    h.wait(1);
    EXPECT_FALSE(f.tmrCalc.Enabled());
    EXPECT_EQ(state(f, "DischargeSeconds"), "182");
    EXPECT_EQ(state(f, "DischargeCorrection"), "18");
    EXPECT_EQ(f.lblLeft.Caption, "Life Remaining:  3:56");
    EXPECT_EQ(f.lblTotal.Caption, "Tolvane:  5:03");
    EXPECT_EQ(f.mnuLife.Caption, "Tolvane:  5:03");
    EXPECT_EQ(f.mnuRemaining.Caption, "Life Remaining:  3:56");
}

TEST(DischargeEstimate, RearmsOnTheNextRefreshFromTheShownPercentage) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    h.wait(199);
    h.set(0, 1, 78);
    h.wait(1);
    EXPECT_FALSE(f.tmrCalc.Enabled());
    h.wait(5);
    EXPECT_TRUE(f.tmrCalc.Enabled());
    EXPECT_EQ(state(f, "DischargeStartPercent"), "78");
    EXPECT_EQ(state(f, "DischargeSeconds"), "0");
}

TEST(DischargeEstimate, TenHourBatteryKeepsThePreviousLines) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    // Ticks line up with refreshes every 5 s, so 391 seconds are counted by hand.
    for (int i = 0; i < 391; ++i) {
        f.tmrCalc_Timer();
    }
    h.set(0, 1, 78);
    h.wait(5);
    EXPECT_FALSE(f.tmrCalc.Enabled());
    EXPECT_EQ(state(f, "DischargeSeconds"), "360.36");
    EXPECT_EQ(f.lblLeft.Caption, "Will take several minutes");
    EXPECT_EQ(f.lblTotal.Caption, "Calculating battery life...");
    EXPECT_EQ(f.mnuRemaining.Caption, "Will take several minutes");
}

TEST(DischargeEstimate, ProductsBeyondSixteenBitsShowTheTrueTime) {
    MonitorHarness h;
    h.start(0, 1, 97);
    h.refresh(0, 1, 96);
    frmMain& f = *h.main;
    // 395 counted seconds: 359.45 s per point, remaining 34147.75 s, total 35945 s.
    h.wait(390);
    h.set(0, 1, 95);
    h.wait(5);
    EXPECT_EQ(state(f, "DischargeSeconds"), "359.45");
    EXPECT_EQ(f.lblLeft.Caption, "Life Remaining:  9:29");
    EXPECT_EQ(f.lblTotal.Caption, "Tolvane:  9:59");
}

TEST(DischargeEstimate, MainsDuringAMeasurementStopsAndHidesIt) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    h.refresh(1, 9, 79);
    EXPECT_FALSE(f.tmrCalc.Enabled());
    EXPECT_FALSE(f.lblLeft.Visible);
    EXPECT_EQ(f.lblTotal.Tag, "0");
    h.refresh(0, 1, 79);
    EXPECT_EQ(state(f, "ReferencePercent"), "79");
    EXPECT_FALSE(f.tmrCalc.Enabled());
    h.refresh(0, 1, 78);
    EXPECT_TRUE(f.tmrCalc.Enabled());
}

TEST(DischargeEstimate, AFallOfSeveralPointsIsTimedAsOne) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    h.wait(95);
    h.set(0, 1, 75);
    h.wait(5);
    EXPECT_EQ(state(f, "DischargeSeconds"), "91");
    EXPECT_EQ(f.lblLeft.Caption, "Life Remaining:  1:53");
}

// Plugged in at 40 %; the first point gained shows at the refresh at 5 s.
void chargeFrom41(MonitorHarness& h) {
    h.start(1, 8, 40);
    h.refresh(1, 8, 41);
}

TEST(ChargeEstimate, FirstIntervalStartsOnePointAboveTheReference) {
    MonitorHarness h;
    frmMain& f = h.start(1, 8, 40);
    h.refresh(1, 8, 40);
    EXPECT_FALSE(f.tmrCharge.Enabled());
    h.refresh(1, 8, 41);
    EXPECT_TRUE(f.tmrCharge.Enabled());
    EXPECT_EQ(state(f, "ChargeStartPercent"), "41");
    EXPECT_EQ(f.lblChg.Tag, "1");
}

TEST(ChargeEstimate, WorkedExamplesGiveThreeThirtyThenThreeThirtyEight) {
    MonitorHarness h;
    chargeFrom41(h);
    frmMain& f = *h.main;
    h.wait(175);
    h.set(1, 8, 42);
    h.wait(5);
    EXPECT_FALSE(f.tmrCharge.Enabled());
    EXPECT_EQ(state(f, "ChargeIntervalCount"), "1");
    EXPECT_EQ(state(f, "ChargeSecondsTotal"), "180");
    EXPECT_EQ(state(f, "ChargeSeconds"), "214.2");
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  3:30");
    // Re-armed at the next refresh (5 s later) from 42 %; 43 % shows at 200 s.
    h.wait(5);
    EXPECT_TRUE(f.tmrCharge.Enabled());
    h.wait(195);
    h.set(1, 8, 43);
    h.wait(5);
    EXPECT_EQ(state(f, "ChargeSecondsTotal"), "380");
    EXPECT_EQ(state(f, "ChargeSeconds"), "226.1");
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  3:38");
}

TEST(ChargeEstimate, UnpluggingClearsTheAverages) {
    MonitorHarness h;
    chargeFrom41(h);
    frmMain& f = *h.main;
    h.wait(175);
    h.set(1, 8, 42);
    h.wait(5);
    h.refresh(0, 1, 42);
    EXPECT_EQ(state(f, "ChargeIntervalCount"), "0");
    EXPECT_EQ(state(f, "ChargeSecondsTotal"), "0");
    EXPECT_FALSE(f.tmrCharge.Enabled());
    EXPECT_EQ(f.lblCharging.Tag, "1");
}

TEST(ChargeEstimate, AJumpOfTwoPointsNeverEndsTheInterval) {
    MonitorHarness h;
    chargeFrom41(h);
    frmMain& f = *h.main;
    f.lblCharging.Caption = "Full charge in:  2:00";
    h.set(1, 8, 43);
    h.wait(300);
    EXPECT_TRUE(f.tmrCharge.Enabled());
    EXPECT_EQ(state(f, "ChargeIntervalCount"), "0");
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  2:00");
}

TEST(ChargeEstimate, SlowChargeFromLowShowsTheTrueTime) {
    MonitorHarness h;
    h.start(1, 10, 8);
    h.refresh(1, 10, 9);
    frmMain& f = *h.main;
    // 310 s per point plus 19 %, times 91 points: 33569.9 s.
    h.wait(305);
    h.set(1, 10, 10);
    h.wait(5);
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  9:19");
}

TEST(ChargeEstimate, FullBatteryStopsAndNeverRearms) {
    MonitorHarness h;
    h.start(1, 9, 98);
    h.refresh(1, 9, 99);
    frmMain& f = *h.main;
    EXPECT_TRUE(f.tmrCharge.Enabled());
    h.refresh(1, 9, 100);
    EXPECT_FALSE(f.tmrCharge.Enabled());
    h.refresh(1, 9, 100);
    h.refresh(1, 9, 100);
    EXPECT_FALSE(f.tmrCharge.Enabled());
    EXPECT_EQ(f.lblCharging.Caption, "Fully Charged");
}

TEST(EstimateReset, SuspendAndResumeEachResetBothEstimators) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    EXPECT_EQ(f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 1);
    EXPECT_EQ(f.lblTotal.Caption, "Recalculating battery life...");
    EXPECT_EQ(f.lblLeft.Caption, "Will take several minutes");
    EXPECT_EQ(f.lblCharging.Caption, "Full charge in:  Recalculating...");
    EXPECT_EQ(f.mnuLife.Caption, "Recalculating battery life...");
    EXPECT_FALSE(f.tmrCalc.Enabled());
    for (const Label* label : {&f.lblTotal, &f.lblLeft, &f.lblChg, &f.lblCharging, &f.lblMyStart}) {
        EXPECT_EQ(label->Tag, "0") << label->name();
    }
    f.lblTotal.Caption = "Tolvane:  1:00";
    f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(f.lblTotal.Caption, "Recalculating battery life...");
}

TEST(EstimateReset, OtherPowerEventsAreLeftAlone) {
    MonitorHarness h;
    measureFrom79(h);
    frmMain& f = *h.main;
    for (std::uint32_t event :
         {PBT_APMQUERYSUSPEND, PBT_APMRESUMESUSPEND, PBT_APMPOWERSTATUSCHANGE}) {
        f.window().SendMessageA(WM_POWERBROADCAST, event, 0);
    }
    EXPECT_TRUE(f.tmrCalc.Enabled());
    EXPECT_EQ(f.lblTotal.Caption, "Calculating battery life...");
}

TEST(EstimateReset, KeepsChargeAveragesAndRebasesTheReference) {
    MonitorHarness h;
    chargeFrom41(h);
    frmMain& f = *h.main;
    h.wait(175);
    h.set(1, 8, 42);
    h.wait(5);
    f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(state(f, "ChargeSecondsTotal"), "180");
    EXPECT_EQ(state(f, "ChargeIntervalCount"), "1");
    h.refresh(1, 8, 45);
    EXPECT_EQ(state(f, "ReferencePercent"), "45");
    EXPECT_FALSE(f.tmrCharge.Enabled());
    h.refresh(1, 8, 46);
    EXPECT_TRUE(f.tmrCharge.Enabled());
}

}  // namespace
}  // namespace tv::testing
