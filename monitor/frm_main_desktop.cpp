// The main window in the desktop: tray icon events, hiding instead of closing, the
// popup menu's commands, the hibernation item, the scheme name and the start-up entry.

#include "monitor/frm_main.h"
#include "registry/active_scheme.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

void frmMain::Form_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    (void)y;
    lblChange.ForeColor = kGreen;
    // Tray events arrive as mouse moves whose x in pixels is the mouse message.
    auto code = static_cast<long long>(roundHalfEven(x));
    if (code == WM_LBUTTONUP || code == WM_LBUTTONDBLCLK) {
        RestoreMainWindow();
    } else if (code == WM_RBUTTONUP) {
        services_.desktop.SetForegroundWindow(*this);
        services_.desktop.PopupMenu(*this, mPopupSys);
    }
}

void frmMain::RestoreMainWindow() {
    setWindowState(vbNormal);
    services_.desktop.SetForegroundWindow(*this);
    Show();
}

void frmMain::mPopRestore_Click() {
    RestoreMainWindow();
}

void frmMain::mPopExit_Click() {
    runtime().unload(*this, vbFormCode);
}

bool frmMain::Form_QueryUnload(int mode) {
    if (ended_ || mode != vbFormControlMenu) {
        return false;
    }
    // The close box only hides the window; the program lives on in the tray.
    setWindowState(vbMinimized);
    return true;
}

void frmMain::Form_Resize() {
    if (WindowState == vbMinimized) {
        Hide();
    }
}

void frmMain::Form_Unload() {
    if (ended_) {
        return;
    }
    standby_.SetPowerHook(window_, false);
    for (Timer* timer : {&tmrBattery, &tmrBlink, &tmrCharge, &tmrCalc}) {
        timer->setEnabled(false);
    }
    tray_.RemoveTrayIcon();
    runtime().DoEvents();
    std::vector<Form*> others = runtime().loadedForms();
    for (Form* form : others) {
        if (form != this) {
            runtime().unload(*form);
        }
    }
    services_.desktop.windowUnloaded(*this);
}

void frmMain::mnuStandby_Click() {
    services_.sleep.SetSuspendState(false, false, false);
}

void frmMain::mnuHibernate_Click() {
    services_.sleep.SetSuspendState(true, false, false);
}

void frmMain::UpdateHibernateItem() {
    std::string path = myMod_.GetSystemFolder().substr(0, 3) + "hiberfil.sys";
    mnuHibernate.Visible = myMod_.FileExists(path);
}

void frmMain::OpenPowerSettings() {
    lblChange.ForeColor = kGreen;
    if (Label3.Caption == "Microsoft Windows XP") {
        services_.launcher.ShellExecuteA(
            "open", services_.program.file(services_.program.schemesExeName + ".exe"), "", "",
            kShowNormal);
    } else {
        services_.launcher.startProcess(kPowerAppletCommand, kShowMinimized);
    }
}

void frmMain::mnuPower_Click() {
    OpenPowerSettings();
}

void frmMain::mnuScheme_Click() {
    OpenPowerSettings();
}

void frmMain::lblChange_Click() {
    OpenPowerSettings();
}

void frmMain::lblChange_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    (void)x;
    (void)y;
    lblChange.ForeColor = kBlue;
    lblChange.MousePointer = 99;
    lblChange.MouseIcon = "101";
}

void frmMain::mnuHelp_Click() {
    services_.launcher.ShellExecuteA("open", services_.program.file("Tolvane.chm"), "", "",
                                     kShowNormal);
}

void frmMain::mnuAbout_Click() {
    services_.launcher.ShellExecuteA("open", services_.program.file("About.exe"), "", "",
                                     kShowNormal);
}

std::string frmMain::executablePath() const {
    return services_.program.file(services_.program.exeName + ".exe");
}

void frmMain::UpdateSchemeAndStartup() {
    dialogs_.beginRound();
    lblPolicy.Caption = GetActiveSchemeName(general_);
    mnuScheme.Caption = "Power Scheme: " + lblPolicy.Caption;
    std::string entry = general_.RegReadString(kStartupPath, services_.program.appTitle);
    // Only ever sets the mark; a click is what clears it.
    if (contains(entry, "Tolvane.exe")) {
        mnuStartup.Checked = true;
    }
    dialogs_.endRound();
}

void frmMain::mnuStartup_Click() {
    mnuStartup.Checked = !mnuStartup.Checked;
    const std::string& name = services_.program.appTitle;
    if (mnuStartup.Checked) {
        std::string path = executablePath();
        general_.RegWriteString(kStartupPath, name, path);
        // A write that did not land (no write access, say) must not leave a check mark
        // claiming an entry that is not there.
        if (general_.RegReadString(kStartupPath, name) != path) {
            mnuStartup.Checked = false;
        }
    } else {
        general_.RegDeleteValueAt(HKEY_LOCAL_MACHINE, kStartupSubKey, name);
    }
}

}  // namespace tv
