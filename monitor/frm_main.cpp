// Start-up, the 5-second refresh and the power-source read-outs of the main window.

#include "monitor/frm_main.h"

#include "monitor/state_text.h"
#include "platform/power_events.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 242;

}  // namespace

frmMain::frmMain(FormRuntime& runtime, MonitorServices services)
    : Form(runtime, "frmMain"),
      services_(std::move(services)),
      window_(services_.hWnd,
              [this](HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
                  return WindowProc(hWnd, message, wParam, lParam);
              }),
      dialogs_(services_.dialogs),
      general_(services_.registry, dialogs_, services_.program.appTitle),
      tray_(services_.tray),
      standby_([this] { ResetEstimates(); }),
      myMod_(services_.systemDirectory, services_.files),
      XP_ProgressBar1(*this, "XP_ProgressBar1",
                      services_.chargeBar ? *services_.chargeBar : plainBar_) {
    Caption = services_.program.appTitle;
    Icon = "window";
    Width = kClientWidth + kFrameWidth;
    Height = kClientHeight + kFrameHeight;
    for (Label* label : {&lblStatus, &lblCharging, &lblTotal, &lblLeft, &Label1, &lblStatusString,
                         &lblPower, &lblChange, &Label2, &lblPolicy}) {
        label->ForeColor = kGreen;
    }
    lblStatus.BackColor = kSysWindow;
    lblStatusString.BackColor = kSysWindow;
    Image1.Visible = false;
    // The top-level menu is never a menu bar; it only opens as the icon's popup.
    mPopupSys.Visible = false;
    runtime.declareForm("frmWarning");
    wireEvents();
}

frmMain::~frmMain() = default;

void frmMain::wireEvents() {
    tmrBattery.onTimer = [this] { tmrBattery_Timer(); };
    tmrCalc.onTimer = [this] { tmrCalc_Timer(); };
    tmrCharge.onTimer = [this] { tmrCharge_Timer(); };
    tmrBlink.onTimer = [this] { tmrBlink_Timer(); };
    onMouseMove = [this](int button, double x, double y) { Form_MouseMove(button, 0, x, y); };
    lblChange.onClick = [this] { lblChange_Click(); };
    lblChange.onMouseMove = [this](int button, double x, double y) {
        lblChange_MouseMove(button, 0, x, y);
    };
    mnuStandby.onClick = [this] { mnuStandby_Click(); };
    mnuHibernate.onClick = [this] { mnuHibernate_Click(); };
    mnuPower.onClick = [this] { mnuPower_Click(); };
    mnuScheme.onClick = [this] { mnuScheme_Click(); };
    mnuHelp.onClick = [this] { mnuHelp_Click(); };
    mnuAbout.onClick = [this] { mnuAbout_Click(); };
    mnuStartup.onClick = [this] { mnuStartup_Click(); };
    mPopRestore.onClick = [this] { mPopRestore_Click(); };
    mPopExit.onClick = [this] { mPopExit_Click(); };
}

void frmMain::properties(PropertyList& out) const {
    Form::properties(out);
    out.emplace_back("ReferencePercent", ReferencePercent);
    out.emplace_back("DischargeStartPercent", DischargeStartPercent);
    out.emplace_back("DischargeSeconds", DischargeSeconds);
    out.emplace_back("DischargeCorrection", DischargeCorrection);
    out.emplace_back("ChargeStartPercent", ChargeStartPercent);
    out.emplace_back("ChargeSeconds", ChargeSeconds);
    out.emplace_back("ChargeSecondsTotal", ChargeSecondsTotal);
    out.emplace_back("ChargeIntervalCount", ChargeIntervalCount);
    out.emplace_back("ACLineStatus", static_cast<long long>(PowerStatus.ACLineStatus));
    out.emplace_back("BatteryFlag", static_cast<long long>(PowerStatus.BatteryFlag));
    out.emplace_back("BatteryLifePercent", static_cast<long long>(PowerStatus.BatteryLifePercent));
    out.emplace_back("Hooked", standby_.hooked());
}

LRESULT frmMain::WindowProc(HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    (void)hWnd;
    (void)wParam;
    (void)lParam;
    // The default handling grants every power request.
    return message == WM_POWERBROADCAST ? 1 : 0;
}

void frmMain::Form_Load() {
    if (services_.instance.anotherInstanceRunning()) {
        endProgram();
        return;
    }
    services_.desktop.windowLoaded(*this);
    standby_.SetPowerHook(window_, true);
    Label3.Caption = general_.RegReadString(kProductNamePath, "ProductName");
    XP_ProgressBar1.setColor(kBarColor);
    ChargeIntervalCount = "0";
    ChargeSecondsTotal = "0";
    for (std::string* tag :
         {&Tag, &lblTotal.Tag, &lblLeft.Tag, &lblChg.Tag, &lblCharging.Tag, &lblMyStart.Tag}) {
        *tag = "0";
    }
    lblChargingTag.Caption = lblCharging.Tag;
    Caption = "Battery Remaining: Checking";
    sample();
    ReferencePercent = formatNumber(percentage());
    lblMyStart.Caption = ReferencePercent;
    if (PowerStatus.BatteryFlag == BATTERY_FLAG_UNKNOWN ||
        PowerStatus.BatteryFlag == BATTERY_FLAG_NO_BATTERY) {
        loadWithoutBattery();
    } else {
        loadWithBattery();
    }
}

void frmMain::loadWithoutBattery() {
    tmrBattery.setEnabled(false);
    tmrBlink.setEnabled(false);
    tmrCalc.setEnabled(false);
    Caption = "Battery Status: Unknown";
    lblTotal.Caption = "Tolvane:  0:00";
    lblLeft.Caption = "Life Remaining:  0:00";
    lblStatusString.Caption = "Battery Status:  Unknown";
    lblPower.Caption = "Power Source:  Unknown";
    mnuLife.Caption = "Tolvane:  0:00";
    mnuRemaining.Caption = "Life Remaining:  0:00";
    UpdateSchemeAndStartup();
    centreAndShow();
    tray_.AddTrayIcon(window_.hWnd(), kWindowIcon, Caption);
    setWindowState(vbNormal);
    services_.desktop.SetForegroundWindow(*this);
    Show();
}

void frmMain::loadWithBattery() {
    // The first refresh comes one interval after the load, however long creation took.
    tmrBattery.setEnabled(false);
    tmrBattery.setEnabled(true);
    ShowChargeBar();
    ShowPowerSource();
    ShowChargeRating();
    Caption = statusLine();
    lblStatus.Caption = statusLine();
    UpdateSchemeAndStartup();
    UpdateHibernateItem();
    showMirrors();
    MarkDischargeStart();
    MarkChargeStart();
    centreAndShow();
    tray_.AddTrayIcon(window_.hWnd(), kWindowIcon, Caption);
}

void frmMain::centreAndShow() {
    Left = (services_.desktop.screenWidth() - Width) / 2;
    Top = (services_.desktop.screenHeight() - Height) / 2;
    Show();
}

void frmMain::endProgram() {
    ended_ = true;
    services_.desktop.End();
    runtime().unload(*this);
}

void frmMain::sample() {
    services_.power.GetSystemPowerStatus(PowerStatus);
}

void frmMain::showMirrors() {
    lblBat.Caption = std::to_string(PowerStatus.BatteryFlag);
    lblAC.Caption = std::to_string(PowerStatus.ACLineStatus);
}

std::string frmMain::statusLine() const {
    return "Battery Power Remaining: " + std::to_string(XP_ProgressBar1.value()) + "%";
}

void frmMain::tmrBattery_Timer() {
    sample();
    showMirrors();
    ShowChargeBar();
    ShowPowerSource();
    ShowChargeRating();
    UpdateSchemeAndStartup();
    UpdateHibernateItem();
    Caption = statusLine();
    lblStatus.Caption = statusLine();
    if (isChargingFlag(PowerStatus.BatteryFlag)) {
        Caption += "  (Charging)";
    }
    if (percentage() == 100) {
        lblCharging.Caption = "Fully Charged";
        Caption = replaceAll(Caption, "Charging", "Fully Charged");
        Label1.Visible = false;
        tmrCharge.setEnabled(false);
        lblCharging.Tag = "1";
    } else if (heldBelowFull()) {
        // A charge limit holds the battery: nothing is charging and no full charge is
        // coming, so neither is announced; the menu shows the caption instead.
        Label1.Visible = false;
        lblCharging.Visible = false;
        mnuLife.Caption = Caption;
        tmrCharge.setEnabled(false);
        lblCharging.Tag = "1";
    }
    tray_.UpdateTrayIcon(Caption);
    checkDischargeArming();
    checkChargeArming();
}

bool frmMain::heldBelowFull() const {
    std::uint8_t flag = PowerStatus.BatteryFlag;
    return PowerStatus.ACLineStatus == AC_LINE_ONLINE && percentage() < 100 &&
           flag != BATTERY_FLAG_UNKNOWN &&
           (flag & (BATTERY_FLAG_CHARGING | BATTERY_FLAG_NO_BATTERY)) == 0;
}

void frmMain::ShowChargeBar() {
    if (percentage() == BATTERY_PERCENTAGE_UNKNOWN) {
        XP_ProgressBar1.setValue(0);
        XP_ProgressBar1.setVisible(false);
    } else {
        XP_ProgressBar1.setValue(percentage());
        XP_ProgressBar1.setVisible(true);
    }
}

void frmMain::ShowPowerSource() {
    switch (PowerStatus.ACLineStatus) {
        case AC_LINE_OFFLINE:
            showOnBattery();
            break;
        case AC_LINE_ONLINE:
            showOnMains();
            break;
        case AC_LINE_UNKNOWN:
            lblPower.Caption = "AC Status Unknown";
            lblPower.ForeColor = kRed;
            break;
        default:
            break;
    }
}

void frmMain::showOnBattery() {
    MarkChargeStart();
    ChargeIntervalCount = "0";
    ChargeSecondsTotal = "0";
    lblChg.Tag = "0";
    lblMyStart.Tag = "0";
    tmrCharge.setEnabled(false);
    lblCharging.Caption = "Full charge in:  Calculating...";
    lblCharging.Tag = "1";
    lblPower.Caption = "Power Source:  Battery";
    lblPower.ForeColor = kGreen;
    Picture2.Picture = "ADD";
    Image1.Visible = false;
    Label1.Visible = false;
    lblCharging.Visible = false;
    lblTotal.Visible = true;
    lblLeft.Visible = true;
    mnuLife.Caption = lblTotal.Caption;
    mnuRemaining.Caption = lblLeft.Caption;
    if (contains(lblLeft.Caption, ":")) {
        mnuRemaining.Caption = lblLeft.Caption + "  (" + std::to_string(percentage()) + "%)";
    }
    if (percentage() >= 5) {
        Tag = "0";
    }
    if (isFlag(lblLeft.Tag, 0)) {
        ReferencePercent = formatNumber(percentage());
        lblMyStart.Caption = ReferencePercent;
        lblLeft.Tag = "1";
    }
    showMirrors();
}

void frmMain::showOnMains() {
    lblPower.Caption = "Power Source:  AC";
    lblPower.ForeColor = kGreen;
    Picture2.Picture = "CONNECTED";
    tmrCalc.setEnabled(false);
    Image1.Visible = true;
    Label1.Visible = true;
    lblCharging.Visible = true;
    lblTotal.Visible = false;
    lblLeft.Visible = false;
    lblTotal.Caption = "Calculating battery life...";
    lblLeft.Caption = "Will take several minutes";
    mnuRemaining.Caption = "Power Source:  AC";
    showMirrors();
    Tag = "1";
    lblTotal.Tag = "0";
    lblLeft.Tag = "0";
    if (isFlag(lblMyStart.Tag, 0)) {
        ReferencePercent = formatNumber(percentage());
        lblMyStart.Caption = ReferencePercent;
        lblMyStart.Tag = "1";
    }
    if (percentage() < 100) {
        lblCharging.Tag = "0";
    }
    if (contains(mnuLife.Caption, "Calculating")) {
        mnuLife.Caption = lblCharging.Caption;
    } else {
        mnuLife.Caption = lblCharging.Caption + "  (" + std::to_string(percentage()) + "%)";
    }
}

}  // namespace tv
