#pragma once
// The battery monitor's main window: samples the power status every 5 seconds, shows
// the charge, the power source, a rating and its own life and charge-time estimates,
// lives in the notification area and offers the sleep, settings and start-up commands
// of its popup menu. Platform-free: every outside call goes through MonitorServices.

#include <cstdint>
#include <memory>
#include <string>

#include "monitor/charge_bar.h"
#include "monitor/frm_warning.h"
#include "monitor/monitor_services.h"
#include "monitor/ms_tray.h"
#include "monitor/my_mod.h"
#include "monitor/repeat_guard.h"
#include "monitor/standby.h"
#include "monitor/window_proc.h"
#include "registry/general.h"
#include "runtime/forms.h"

namespace tv {

inline constexpr Color kBarColor = 0x2BD228;  // red 40, green 210, blue 43

inline constexpr const char* kProductNamePath =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kStartupPath =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kStartupSubKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class frmMain : public Form {
    // Declared first: the controls below are built on them.
    MonitorServices services_;
    SimpleChargeBar plainBar_;
    WindowProcSlot window_;
    RepeatGuardDialogs dialogs_;
    General general_;
    MsTray tray_;
    Standby standby_;
    MyMod myMod_;
    std::unique_ptr<frmWarning> warning_;
    bool ended_ = false;

  public:
    frmMain(FormRuntime& runtime, MonitorServices services);
    ~frmMain() override;

    void properties(PropertyList& out) const override;

    // The window's procedure slot: the views and the power broadcasts send messages
    // through it.
    WindowProcSlot& window() { return window_; }
    // The window's own handling of a message, under any installed hook.
    LRESULT WindowProc(HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam);

    // The low-battery window while it exists (it is created on first opening and
    // anew on each opening after a close).
    frmWarning* warningWindow() const { return warning_.get(); }
    MsTray& tray() { return tray_; }
    Standby& standby() { return standby_; }
    const SYSTEM_POWER_STATUS& powerStatus() const { return PowerStatus; }

    // Refresh and its parts.
    void tmrBattery_Timer();
    void ShowChargeBar();
    void ShowPowerSource();
    void ShowChargeRating();
    void tmrBlink_Timer();

    // Estimators.
    void MarkDischargeStart();
    void MarkChargeStart();
    void checkDischargeArming();
    void checkChargeArming();
    void tmrCalc_Timer();
    void tmrCharge_Timer();
    void ResetEstimates();

    // Tray, window and menu.
    void Form_MouseMove(int button, int shift, double x, double y);
    void RestoreMainWindow();
    void mPopRestore_Click();
    void mPopExit_Click();
    void mnuStandby_Click();
    void mnuHibernate_Click();
    void mnuPower_Click();
    void mnuScheme_Click();
    void lblChange_Click();
    void lblChange_MouseMove(int button, int shift, double x, double y);
    void mnuHelp_Click();
    void mnuAbout_Click();
    void mnuStartup_Click();
    void OpenPowerSettings();
    void UpdateHibernateItem();
    void UpdateSchemeAndStartup();

    // Controls of the visible area.
    Label lblStatus{*this, "lblStatus", "Battery Status:  Unknown"};
    ChargeBarHost XP_ProgressBar1;
    Label lblCharging{*this, "lblCharging", "Full charge in:  Calculating..."};
    Label lblTotal{*this, "lblTotal", "Calculating battery life..."};
    Label lblLeft{*this, "lblLeft", "Will take several minutes"};
    PictureBox Image1{*this, "Image1", "CHARGING"};
    Label Label1{*this, "Label1", "Charging..."};
    Label lblStatusString{*this, "lblStatusString", "Checking..."};
    Label lblPower{*this, "lblPower", "Checking..."};
    PictureBox Picture1{*this, "Picture1"};
    PictureBox Picture2{*this, "Picture2"};
    Label Label3{*this, "Label3", "Label3"};
    Label lblChange{*this, "lblChange", "Adjust Power Settings"};
    Label Label2{*this, "Label2", "Power Scheme:  "};
    Label lblPolicy{*this, "lblPolicy", "Minimal Power Management"};

    // State mirrors below the client area.
    Label lblBat{*this, "lblBat", "lblBat"};
    Label lblAC{*this, "lblAC", "lblAC"};
    Label lblPerc{*this, "lblPerc", "lblPerc"};
    Label lblSecs{*this, "lblSecs", "lblSecs"};
    Label lblChg{*this, "lblChg", "lblChg"};
    Label lblPercChg{*this, "lblPercChg", "lblPercChg"};
    Label lblMyStart{*this, "lblMyStart", "lblMyStart"};
    Label lblChargingTag{*this, "lblChargingTag", "lblChargingTag"};

    // The popup menu of the tray icon.
    MenuItem mPopupSys{*this, "mPopupSys", "&SysTray"};
    MenuItem MnuBattery{*this, "MnuBattery", "-----------Battery Info-----------"};
    MenuItem mnuLife{*this, "mnuLife", "Life"};
    MenuItem mnuRemaining{*this, "mnuRemaining", "Remaining"};
    MenuItem sep{*this, "sep", "-"};
    MenuItem mnuSettings{*this, "mnuSettings", "----------Power Settings---------"};
    MenuItem mnuScheme{*this, "mnuScheme", "&Power Scheme: "};
    MenuItem mnuPower{*this, "mnuPower", "&Adjust Power Settings"};
    MenuItem sep2{*this, "sep2", "-"};
    MenuItem mnuOptions{*this, "mnuOptions", "-------------Options---------------"};
    MenuItem mnuStandby{*this, "mnuStandby", "&Go on Standby"};
    MenuItem mnuHibernate{*this, "mnuHibernate", "Go into &Hibernation"};
    MenuItem mPopRestore{*this, "mPopRestore", "&Show Window"};
    MenuItem mnuStartup{*this, "mnuStartup", "Start with &Windows"};
    MenuItem sep3{*this, "sep3", "-"};
    MenuItem mnuHelp{*this, "mnuHelp", "&Help"};
    MenuItem mnuAbout{*this, "mnuAbout", "A&bout"};
    MenuItem mPopExit{*this, "mPopExit", "&Exit"};

    // Timers, in the order ties fire.
    Timer tmrBattery{*this, "tmrBattery", 5000, true};
    Timer tmrCalc{*this, "tmrCalc", 1000, false};
    Timer tmrCharge{*this, "tmrCharge", 1000, false};
    Timer tmrBlink{*this, "tmrBlink", 500, false};

  protected:
    void Form_Load() override;
    bool Form_QueryUnload(int mode) override;
    void Form_Unload() override;
    void Form_Resize() override;

  private:
    void wireEvents();
    void sample();
    void showMirrors();
    std::string statusLine() const;
    void loadWithoutBattery();
    void loadWithBattery();
    void centreAndShow();
    void showOnBattery();
    void showOnMains();
    void applyRating(int value);
    void raiseWarning();
    void showMeasuredLife(double secondsPerPoint);
    int percentage() const { return PowerStatus.BatteryLifePercent; }
    // On mains below full, and the platform reports the battery as not charging.
    bool heldBelowFull() const;
    std::string executablePath() const;
    void endProgram();

    SYSTEM_POWER_STATUS PowerStatus;
    // Monitor state, as decimal text.
    std::string ReferencePercent;
    std::string DischargeStartPercent;
    std::string DischargeSeconds;
    std::string DischargeCorrection;
    std::string ChargeStartPercent;
    std::string ChargeSeconds;
    std::string ChargeSecondsTotal = "0";
    std::string ChargeIntervalCount = "0";
};

}  // namespace tv
