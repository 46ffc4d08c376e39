#include <gtest/gtest.h>

#include "monitor/tests/monitor_harness.h"

namespace tv::testing {
namespace {

constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPowerCfg = "Control Panel\\PowerCfg";

TEST(StartupEntry, PresentEntryChecksTheItemAtStart) {
    MonitorHarness h;
    h.setRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane", "/elsewhere/Tolvane.exe");
    EXPECT_TRUE(h.start(0, 0, 50).mnuStartup.Checked);
    MonitorHarness none;
    EXPECT_FALSE(none.start(0, 0, 50).mnuStartup.Checked);
}

TEST(StartupEntry, ClickWritesTheProgramPathAndClickAgainDeletesIt) {
    MonitorHarness h("/opt/my apps");
    frmMain& f = h.start(1, 128, 255);
    f.mnuStartup.click();
    EXPECT_TRUE(f.mnuStartup.Checked);
    EXPECT_EQ(h.readRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane"), "/opt/my apps/Tolvane.exe");
    f.mnuStartup.click();
    EXPECT_FALSE(f.mnuStartup.Checked);
    EXPECT_EQ(h.readRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane"), "(none)");
}

TEST(StartupEntry, UncheckingDeletesAnotherCopysEntry) {
    MonitorHarness h;
    h.setRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane", "/other/copy/Tolvane.exe --x");
    frmMain& f = h.start(0, 0, 50);
    f.mnuStartup.click();
    EXPECT_EQ(h.readRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane"), "(none)");
}

TEST(StartupEntry, RefreshSetsTheMarkButNeverClearsIt) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.setRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane", "/x/Tolvane.exe");
    h.refresh(0, 0, 50);
    EXPECT_TRUE(f.mnuStartup.Checked);
    h.removeRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane");
    h.refresh(0, 0, 50);
    EXPECT_TRUE(f.mnuStartup.Checked);
}

TEST(StartupEntry, FailedWriteLeavesTheItemUnchecked) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.guarded.failWrites = true;
    f.mnuStartup.click();
    EXPECT_FALSE(f.mnuStartup.Checked);
    EXPECT_TRUE(h.dialogs.boxes.empty());
    h.guarded.failWrites = false;
    f.mnuStartup.click();
    EXPECT_TRUE(f.mnuStartup.Checked);
}

TEST(StartupEntry, FailedDeleteIsCheckedAgainByTheNextRefresh) {
    MonitorHarness h;
    h.setRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane", "/opt/tolvane/Tolvane.exe");
    frmMain& f = h.start(0, 0, 50);
    h.guarded.failDeletes = true;
    f.mnuStartup.click();
    EXPECT_FALSE(f.mnuStartup.Checked);
    h.refresh(0, 0, 50);
    EXPECT_TRUE(f.mnuStartup.Checked);
}

TEST(StartupEntry, AnotherExecutableNameIsNotRecognisedAtTheNextStart) {
    MonitorHarness h;
    h.program.exeName = "Monitor";
    frmMain& f = h.start(0, 0, 50);
    f.mnuStartup.click();
    EXPECT_TRUE(f.mnuStartup.Checked);
    EXPECT_EQ(h.readRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane"), "/opt/tolvane/Monitor.exe");
    MonitorHarness next;
    next.setRegistry(HKEY_LOCAL_MACHINE, kRun, "Tolvane", "/opt/tolvane/Monitor.exe");
    EXPECT_FALSE(next.start(0, 0, 50).mnuStartup.Checked);
}

TEST(SchemeName, FollowsTheActiveSchemeWithinOneRefresh) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    EXPECT_EQ(f.lblPolicy.Caption, "Home/Office Desk");
    EXPECT_EQ(f.mnuScheme.Caption, "Power Scheme: Home/Office Desk");
    h.setRegistry(HKEY_CURRENT_USER, kPowerCfg, "CurrentPowerPolicy", "3");
    h.refresh(0, 0, 50);
    EXPECT_EQ(f.lblPolicy.Caption, "Always On");
    EXPECT_EQ(f.Label2.Caption, "Power Scheme:  ");
}

TEST(SchemeName, MissingKeysShowError) {
    MonitorHarness h;
    h.removeRegistry(HKEY_CURRENT_USER, kPowerCfg, "CurrentPowerPolicy");
    frmMain& f = h.start(1, 128, 255);
    EXPECT_EQ(f.lblPolicy.Caption, "Error");
    EXPECT_EQ(f.mnuScheme.Caption, "Power Scheme: Error");
}

TEST(SchemeName, EmptyIndexShowsTheFormatBoxOnceWhileItLasts) {
    MonitorHarness h;
    h.setRegistry(HKEY_CURRENT_USER, kPowerCfg, "CurrentPowerPolicy", "");
    frmMain& f = h.start(0, 0, 50);
    const std::string box =
        "Tolvane|Incorrect Format:\n\nHKEY_CURRENT_USER\\Control "
        "Panel\\PowerCfg\\PowerPolicies\\|0";
    EXPECT_EQ(h.dialogs.boxes, std::vector<std::string>{box});
    EXPECT_EQ(f.lblPolicy.Caption, "Error");
    h.refresh(0, 0, 50);
    h.refresh(0, 0, 50);
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
    h.setRegistry(HKEY_CURRENT_USER, kPowerCfg, "CurrentPowerPolicy", "1");
    h.refresh(0, 0, 50);
    EXPECT_EQ(f.lblPolicy.Caption, "Portable/Laptop");
    h.setRegistry(HKEY_CURRENT_USER, kPowerCfg, "CurrentPowerPolicy", "");
    h.refresh(0, 0, 50);
    EXPECT_EQ(h.dialogs.boxes, (std::vector<std::string>{box, box}));
}

}  // namespace
}  // namespace tv::testing
