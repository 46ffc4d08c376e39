#include <gtest/gtest.h>

#include "monitor/tests/monitor_harness.h"

namespace tv::testing {
namespace {

TEST(TrayRecord, SerialisesToTheEightyEightByteLayout) {
    NotifyIconData data;
    data.cbSize = 88;
    data.hWnd = 0x01020304;
    data.uID = 1;
    data.uFlags = 7;
    data.uCallbackMessage = 0x200;
    data.hIcon = 6;
    data.setTip("Hi");
    auto bytes = data.toBytes();
    ASSERT_EQ(bytes.size(), 88u);
    EXPECT_EQ(bytes[0], 88);
    EXPECT_EQ(bytes[4], 0x04);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[12], 7);
    EXPECT_EQ(bytes[16], 0x00);
    EXPECT_EQ(bytes[17], 0x02);
    EXPECT_EQ(bytes[20], 6);
    EXPECT_EQ(bytes[24], 'H');
    EXPECT_EQ(bytes[25], 'i');
    EXPECT_EQ(bytes[26], 0);
    EXPECT_EQ(bytes[27], ' ');
    EXPECT_EQ(bytes[87], ' ');
}

TEST(TrayRecord, TipKeepsItsNulUpToSixtyThreeCharacters) {
    NotifyIconData data;
    data.setTip(std::string(63, 'a'));
    EXPECT_EQ(data.szTip[63], '\0');
    EXPECT_EQ(data.tipText(), std::string(63, 'a'));
    data.setTip(std::string(64, 'b'));
    EXPECT_EQ(data.tipText(), std::string(64, 'b'));
    data.setTip(std::string(70, 'c'));
    EXPECT_EQ(data.tipText(), std::string(64, 'c'));
}

TEST(TrayIcon, AddedAtStartModifiedEachRefreshRemovedOnExit) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    const NotifyIconData& added = h.tray.last;
    EXPECT_EQ(added.cbSize, 88u);
    EXPECT_EQ(added.hWnd, 7u);
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(added.uFlags, 7u);
    EXPECT_EQ(added.uCallbackMessage, 0x200u);
    EXPECT_EQ(added.hIcon, kWindowIcon);
    h.refresh(0, 0, 50);
    EXPECT_EQ(h.calls.lines().back(), "> Shell_NotifyIcon 1 \"Battery Power Remaining: 50%\" 1");
    h.calls.clear();
    f.mPopExit.click();
    EXPECT_EQ(h.calls.lines(),
              (std::vector<std::string>{"> Shell_NotifyIcon 2 \"Battery Power Remaining: 50%\" 1",
                                        "> Unload frmMain"}));
}

TEST(TrayEvents, LeftUpAndDoubleClickRestoreTheWindow) {
    for (int code : {514, 515}) {
        MonitorHarness h;
        frmMain& f = h.start(0, 0, 50);
        h.runtime.unload(f, vbFormControlMenu);
        EXPECT_FALSE(f.Visible);
        h.calls.clear();
        f.onMouseMove(0, code, 0);
        EXPECT_TRUE(f.Visible);
        EXPECT_EQ(f.WindowState, vbNormal);
        EXPECT_EQ(h.calls.lines(), std::vector<std::string>{"> SetForegroundWindow frmMain"});
        f.onMouseMove(0, code, 0);
        EXPECT_TRUE(f.Visible);
    }
}

TEST(TrayEvents, RightUpOpensTheMenuWithoutShowingTheWindow) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.runtime.unload(f, vbFormControlMenu);
    h.calls.clear();
    f.onMouseMove(0, 517, 0);
    EXPECT_FALSE(f.Visible);
    EXPECT_EQ(h.calls.lines(),
              (std::vector<std::string>{"> SetForegroundWindow frmMain", "> PopupMenu mPopupSys"}));
}

TEST(TrayEvents, OtherCodesAndRealMovesOnlyResetTheLinkColour) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.calls.clear();
    f.lblChange.mouseMove(0, 3, 3);
    EXPECT_EQ(f.lblChange.ForeColor, kBlue);
    EXPECT_EQ(f.lblChange.MousePointer, 99);
    for (int code : {512, 513, 516, 518, 200, 407}) {
        f.onMouseMove(0, code, 10);
    }
    EXPECT_EQ(f.lblChange.ForeColor, kGreen);
    EXPECT_TRUE(h.calls.lines().empty());
}

TEST(WindowClose, CloseBoxHidesAndKeepsRunning) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.calls.clear();
    EXPECT_FALSE(h.runtime.unload(f, vbFormControlMenu));
    EXPECT_TRUE(f.isLoaded());
    EXPECT_FALSE(f.Visible);
    EXPECT_EQ(f.WindowState, vbMinimized);
    EXPECT_TRUE(h.calls.lines().empty());
    h.refresh(0, 0, 49);
    EXPECT_EQ(h.calls.lines().back(), "> Shell_NotifyIcon 1 \"Battery Power Remaining: 49%\" 1");
}

TEST(WindowClose, ExitTearsDownHookTimersIconAndWarning) {
    MonitorHarness h;
    frmMain& f = h.start(0, 6, 4);
    int turns = 0;
    h.runtime.setDoEvents([&] { ++turns; });
    ASSERT_TRUE(f.warningWindow()->isLoaded());
    h.calls.clear();
    f.mPopExit.click();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_FALSE(f.warningWindow()->isLoaded());
    EXPECT_FALSE(f.standby().hooked());
    EXPECT_EQ(turns, 1);
    for (Timer* timer : f.timers()) {
        EXPECT_FALSE(timer->Enabled()) << timer->name();
    }
    EXPECT_EQ(h.calls.lines(), (std::vector<std::string>{
                                   "> Shell_NotifyIcon 2 \"Battery Power Remaining: 4%\" window",
                                   "> Unload frmWarning", "> Unload frmMain"}));
}

TEST(PowerHook, ForwardsEveryMessageAndItsResult) {
    MonitorHarness h;
    frmMain& f = h.window();
    std::vector<std::uint32_t> seen;
    f.window().SetWindowLongA(GWL_WNDPROC, [&](HWND hWnd, std::uint32_t message, WPARAM, LPARAM) {
        EXPECT_EQ(hWnd, 7u);
        seen.push_back(message);
        return 42;
    });
    h.start(0, 0, 50);
    EXPECT_TRUE(f.standby().hooked());
    EXPECT_EQ(f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 42);
    EXPECT_EQ(f.window().SendMessageA(0x0010, 0, 0), 42);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_POWERBROADCAST, 0x0010}));
    EXPECT_EQ(f.lblTotal.Caption, "Recalculating battery life...");
}

TEST(PowerHook, SecondRequestForTheSameStateIsIgnored) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    f.standby().SetPowerHook(f.window(), true);
    f.lblTotal.Caption = "x";
    f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(f.lblTotal.Caption, "Recalculating battery life...");
    f.standby().SetPowerHook(f.window(), false);
    f.standby().SetPowerHook(f.window(), false);
    f.lblTotal.Caption = "x";
    EXPECT_EQ(f.window().SendMessageA(WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 1);
    EXPECT_EQ(f.lblTotal.Caption, "x");
}

TEST(PowerSettings, WindowsXpStartsTheSchemeManagerOthersTheApplet) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    for (MenuItem* item : {&f.mnuPower, &f.mnuScheme}) {
        h.calls.clear();
        item->click();
        EXPECT_EQ(h.calls.lines(),
                  std::vector<std::string>{
                      "> ShellExecute \"open\" \"/opt/tolvane/Vantrel.exe\" \"\" 1"});
    }
    f.lblChange.ForeColor = kBlue;
    for (const char* product : {"Microsoft Windows xp", "Error", "Linux"}) {
        f.Label3.Caption = product;
        h.calls.clear();
        f.lblChange.click();
        EXPECT_EQ(f.lblChange.ForeColor, kGreen);
        EXPECT_EQ(h.calls.lines(), std::vector<std::string>{
                                       "> StartProcess \"rundll32.exe shell32.dll,Control_RunDLL "
                                       "powercfg.cpl,,1\" 2"});
    }
}

TEST(MenuCommands, SleepHelpAboutAndHeadings) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    h.calls.clear();
    f.mnuStandby.click();
    f.mnuHibernate.click();
    f.mnuHelp.click();
    f.mnuAbout.click();
    f.MnuBattery.click();
    f.mnuSettings.click();
    f.mnuOptions.click();
    EXPECT_EQ(h.calls.lines(), (std::vector<std::string>{
                                   "> SetSuspendState 0 0 0", "> SetSuspendState 1 0 0",
                                   "> ShellExecute \"open\" \"/opt/tolvane/Tolvane.chm\" \"\" 1",
                                   "> ShellExecute \"open\" \"/opt/tolvane/About.exe\" \"\" 1"}));
}

TEST(MenuCommands, PopupHasItsSeventeenItemsInOrder) {
    MonitorHarness h;
    frmMain& f = h.window();
    std::vector<std::string> names;
    bool inMenu = false;
    for (Control* control : f.controls()) {
        if (control == &f.mPopupSys) {
            inMenu = true;
            continue;
        }
        if (inMenu && dynamic_cast<MenuItem*>(control) != nullptr) {
            names.push_back(control->name());
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "MnuBattery", "mnuLife", "mnuRemaining", "sep", "mnuSettings", "mnuScheme",
                         "mnuPower", "sep2", "mnuOptions", "mnuStandby", "mnuHibernate",
                         "mPopRestore", "mnuStartup", "sep3", "mnuHelp", "mnuAbout", "mPopExit"}));
    EXPECT_EQ(f.MnuBattery.Caption.size(), 11u + 11u + std::string("Battery Info").size());
}

TEST(HibernationItem, FollowsTheHiddenSystemFileWithinOneRefresh) {
    MonitorHarness h;
    frmMain& f = h.start(0, 0, 50);
    EXPECT_TRUE(f.mnuHibernate.Visible);
    h.files.deleteFile("C:\\hiberfil.sys");
    h.refresh(0, 0, 50);
    EXPECT_FALSE(f.mnuHibernate.Visible);
    h.files.put("C:\\hiberfil.sys", "", vbAttrHidden | vbAttrSystem | vbAttrReadOnly);
    h.refresh(0, 0, 50);
    EXPECT_TRUE(f.mnuHibernate.Visible);
}

TEST(HibernationItem, NoSystemFolderLooksInTheCurrentFolder) {
    MonitorHarness h;
    h.systemDirectory.folder.reset();
    h.files.put("hiberfil.sys", "");
    frmMain& f = h.start(0, 0, 50);
    EXPECT_TRUE(f.mnuHibernate.Visible);
    h.files.deleteFile("hiberfil.sys");
    h.refresh(0, 0, 50);
    EXPECT_FALSE(f.mnuHibernate.Visible);
}

TEST(HibernationItem, LinuxStandInFollowsTheLoginManager) {
    CallLog calls;
    RecordingSleep sleep(calls);
    MemoryFiles other;
    other.put("/etc/hostname", "x");
    HibernationFileView view(sleep, &other);
    FixedSystemDirectory folder{std::string(kStandInSystemDirectory)};
    MyMod mod(folder, view);
    std::string path = mod.GetSystemFolder().substr(0, 3) + "hiberfil.sys";
    EXPECT_EQ(path, kStandInHibernationFile);
    EXPECT_FALSE(mod.FileExists(path));
    sleep.hibernation = true;
    EXPECT_TRUE(mod.FileExists(path));
    EXPECT_EQ(view.Dir(path, vbAttrNormal), "");
    EXPECT_TRUE(mod.FileExists("/etc/hostname"));
    EXPECT_FALSE(view.writeFile(path, "x"));
}

TEST(SystemFolder, FailureOrTooSmallBufferGivesEmptyText) {
    MemoryFiles files;
    FixedSystemDirectory none{std::nullopt};
    EXPECT_EQ(MyMod(none, files).GetSystemFolder(), "");
    FixedSystemDirectory huge{std::string(300, 'x')};
    EXPECT_EQ(MyMod(huge, files).GetSystemFolder(), "");
    FixedSystemDirectory fine{std::string("D:\\W\\system32")};
    EXPECT_EQ(MyMod(fine, files).GetSystemFolder(), "D:\\W\\system32");
}

}  // namespace
}  // namespace tv::testing
