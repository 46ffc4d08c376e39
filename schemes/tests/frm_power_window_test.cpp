#include "schemes/tests/power_fixture.h"

namespace tv::testing {
namespace {

using Items = std::vector<std::string>;
using WindowLife = PowerTest;

TEST_F(WindowLife, CreationInitialisesTheCommonControls) {
    make();
    EXPECT_EQ(view.calls, (Items{"InitCommonControls"}));
    EXPECT_FALSE(form->isLoaded());
    EXPECT_EQ(form->Text1.Text, "Text1");
    EXPECT_EQ(form->Caption, "Vantrel");
}

TEST_F(WindowLife, LoadLeavesTheDelaysLockedAndThePoliciesReady) {
    frmPower& f = load();
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_EQ(f.cboMinutes.ListCount(), 16);
    EXPECT_EQ(f.cboMinutes.List().back(), "Never");
    EXPECT_TRUE(f.cboMinutes.Locked);
    EXPECT_EQ(f.cboMinutes2.List(), (Items{"NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"}));
    EXPECT_EQ(f.SettingSwitch, "");
    EXPECT_EQ(f.DelayMinutes, "");
    EXPECT_EQ(f.txtX1.Text, "");
    EXPECT_FALSE(f.lstDevices.Visible);
}

TEST_F(WindowLife, UnloadRemovesAllThreeTemporaryFiles) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(2);
    f.cmdDevices.click();
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        ASSERT_TRUE(files.has(file(name))) << name;
    }
    f.cmdClose.click();
    EXPECT_FALSE(f.isLoaded());
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        EXPECT_FALSE(files.has(file(name))) << name;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowLife, UnloadWithoutFilesShowsNothing) {
    runner.missing("POWERCFG");
    files.setReadOnlyFolder(std::string(kFolder));
    frmPower& f = load();
    f.cmdClose.click();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_TRUE(dialogs.boxes.empty());
}

using PointerTracking = PowerTest;

TEST_F(PointerTracking, HeldButtonRecordsThePointerEvery50Ms) {
    frmPower& f = load();
    pointer.position = {100, 200};
    f.lstSchemes.mouseDown(1, 0, 0);
    runtime.runTimersUntil(clock.nowMs() + 50);
    EXPECT_EQ(f.txtX1.Text, "100");
    EXPECT_EQ(f.txtY1.Text, "200");
    pointer.position = {101, 230};
    runtime.runTimersUntil(clock.nowMs() + 60);
    f.lstSchemes.mouseUp(1, 0, 0);
    pointer.position = {5, 5};
    runtime.runTimersUntil(clock.nowMs() + 500);
    EXPECT_EQ(f.txtX1.Text, "101");
    EXPECT_EQ(f.txtY1.Text, "230");
    EXPECT_EQ(f.PointerPos.x, 101);
}

TEST_F(PointerTracking, QuickClickRecordsNothing) {
    frmPower& f = load();
    f.lstSchemes.mouseDown(1, 0, 0);
    runtime.runTimersUntil(clock.nowMs() + 49);
    f.lstSchemes.mouseUp(1, 0, 0);
    runtime.runTimersUntil(clock.nowMs() + 200);
    EXPECT_EQ(f.txtX1.Text, "");
    EXPECT_EQ(f.txtY1.Text, "");
}

TEST_F(PointerTracking, KeyboardSelectionKeepsTheRecordedPosition) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(1);
    f.txtX1.Text = "7";
    f.txtY1.Text = "8";
    f.lstSchemes.setListIndex(3);
    EXPECT_EQ(f.txtX1.Text, "7");
    EXPECT_EQ(f.txtY1.Text, "8");
}

using PowerLink = PowerTest;

TEST_F(PowerLink, ColoursFollowThePointer) {
    frmPower& f = load();
    EXPECT_EQ(f.lblChange.ForeColor, kGreen);
    f.lblChange.mouseMove(0, 3, 3);
    EXPECT_EQ(f.lblChange.ForeColor, kBlue);
    EXPECT_EQ(f.lblChange.MousePointer, 99);
    f.onMouseMove(0, 1, 1);
    EXPECT_EQ(f.lblChange.ForeColor, kGreen);
}

TEST_F(PowerLink, ClickStartsTheAppletMinimised) {
    frmPower& f = load();
    f.lblChange.click();
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0],
              std::make_pair(std::string("rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1"),
                             SW_SHOWMINIMIZED));
    EXPECT_EQ(f.lblChange.ForeColor, kSysButtonText);
    EXPECT_TRUE(runner.waits.empty());
}

TEST_F(PowerLink, ImageShowsTheHand) {
    frmPower& f = load();
    f.Image1.mouseMove(0, 1, 1);
    EXPECT_EQ(f.Image1.MousePointer, 99);
    EXPECT_EQ(f.Image1.MouseIcon, "101");
}

}  // namespace
}  // namespace tv::testing
