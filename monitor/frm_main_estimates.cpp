// The charge rating with its blinking and warning, and the two time estimators:
// seconds per lost point while on battery, seconds per gained point while charging.

#include "monitor/frm_main.h"
#include "monitor/state_text.h"
#include "runtime/numbers.h"

namespace tv {

namespace {

struct Rating {
    int minimum;
    const char* icon;
    const char* text;
    // The first row above the critical ones ends a blink begun below it.
    bool stopsBlinking = false;
};

// The measured interval runs on past the point it stands for; 9 % off leaves the
// seconds of one point.
constexpr double kDischargeCountOvershoot = 0.09;
// Charging slows as the battery fills, so the points still to come take longer than
// the average of those measured so far: 19 % longer.
constexpr double kChargeSlowdown = 1.19;

// The rows above the critical ones; the rating line is shown in each.
constexpr Rating kRatings[] = {
    {80, "ok", "Battery Charge:  Excellent"},
    {60, "PREF", "Battery Charge:  Good"},
    {25, "1", "Battery Charge:  OK"},
    {11, "Warning", "Battery Charge:  Low", true},
};

}  // namespace

void frmMain::ShowChargeRating() {
    applyRating(static_cast<int>(XP_ProgressBar1.value()));
    tray_.TrayIconData.hIcon = iconHandleFor(Picture1.Picture);
    if (XP_ProgressBar1.value() <= 5 && isFlag(Tag, 0)) {
        Tag = "1";
        raiseWarning();
    }
}

void frmMain::applyRating(int value) {
    for (const Rating& rating : kRatings) {
        if (value >= rating.minimum) {
            Picture1.Picture = rating.icon;
            lblStatusString.Caption = rating.text;
            lblStatusString.ForeColor = kGreen;
            lblStatus.ForeColor = kGreen;
            if (rating.stopsBlinking) {
                tmrBlink.setEnabled(false);
            }
            lblStatusString.Visible = true;
            return;
        }
    }
    Picture1.Picture = "DELETE";
    lblStatusString.Caption = "Battery Charge:  Critical";
    lblStatusString.ForeColor = kRed;
    lblStatus.ForeColor = kRed;
    if (stopsCriticalBlink(PowerStatus.BatteryFlag)) {
        tmrBlink.setEnabled(false);
        return;
    }
    if (value <= 5) {
        tmrBlink.setEnabled(true);
    }
    lblStatusString.Visible = true;
}

void frmMain::raiseWarning() {
    // One window while it is open; a closed one is rebuilt from its design state.
    if (!warning_ || !warning_->isLoaded()) {
        warning_.reset();
        warning_ = std::make_unique<frmWarning>(runtime(), services_.desktop, *this, lblLeft);
    }
    warning_->Show();
}

void frmMain::tmrBlink_Timer() {
    lblStatusString.Visible = !lblStatusString.Visible;
}

void frmMain::MarkDischargeStart() {
    DischargeStartPercent = formatNumber(percentage());
    lblPerc.Caption = DischargeStartPercent;
}

void frmMain::MarkChargeStart() {
    ChargeStartPercent = formatNumber(percentage());
    lblPercChg.Caption = ChargeStartPercent;
}

void frmMain::checkDischargeArming() {
    double p = percentage();
    double reference = parseNumber(ReferencePercent);
    bool onBattery = PowerStatus.ACLineStatus == AC_LINE_OFFLINE;
    // The first measurement of a battery period waits for a point boundary below the
    // reference, so it times one whole point.
    if (isFlag(lblTotal.Tag, 0) && reference - 1 >= p) {
        if (onBattery && !tmrCalc.Enabled()) {
            DischargeSeconds = "0";
            lblTotal.Tag = "1";
            MarkDischargeStart();
            tmrCalc.setEnabled(true);
        }
    } else if (onBattery && !tmrCalc.Enabled() && isFlag(lblTotal.Tag, 1)) {
        DischargeSeconds = "0";
        MarkDischargeStart();
        tmrCalc.setEnabled(true);
    }
}

void frmMain::checkChargeArming() {
    double reference = parseNumber(ReferencePercent);
    if (isFlag(lblCharging.Tag, 0) && PowerStatus.ACLineStatus == AC_LINE_ONLINE &&
        !tmrCharge.Enabled() && reference + 1 <= percentage()) {
        lblChg.Tag = "1";
        ChargeSeconds = "0";
        MarkChargeStart();
        tmrCharge.setEnabled(true);
    }
}

void frmMain::tmrCalc_Timer() {
    DischargeSeconds = formatNumber(parseNumber(DischargeSeconds) + 1);
    lblSecs.Caption = DischargeSeconds;
    double p = percentage();
    if (!(parseNumber(DischargeStartPercent) > p)) {
        return;
    }
    Image1.Visible = false;
    Label1.Visible = false;
    lblCharging.Visible = false;
    lblTotal.Visible = true;
    lblLeft.Visible = true;
    double counted = parseNumber(DischargeSeconds);
    DischargeCorrection = formatNumber(counted * kDischargeCountOvershoot);
    DischargeSeconds = formatNumber(counted - parseNumber(DischargeCorrection));
    showMeasuredLife(parseNumber(DischargeSeconds));
    mnuLife.Caption = lblTotal.Caption;
    mnuRemaining.Caption = lblLeft.Caption;
    tmrCalc.setEnabled(false);
}

void frmMain::showMeasuredLife(double secondsPerPoint) {
    // A full battery of ten hours or more keeps the previous read-outs.
    if (secondsPerPoint >= 360) {
        return;
    }
    lblLeft.Caption = "Life Remaining:  " + formatDuration(secondsPerPoint * percentage());
    lblTotal.Caption = "Tolvane:  " + formatDuration(secondsPerPoint * 100);
}

void frmMain::tmrCharge_Timer() {
    ChargeSeconds = formatNumber(parseNumber(ChargeSeconds) + 1);
    lblChg.Caption = ChargeSeconds;
    if (!(isFlag(lblChg.Tag, 1) && parseNumber(ChargeStartPercent) + 1 == percentage())) {
        return;
    }
    ChargeIntervalCount = formatNumber(parseNumber(ChargeIntervalCount) + 1);
    ChargeSecondsTotal =
        formatNumber(parseNumber(ChargeSecondsTotal) + parseNumber(lblChg.Caption));
    ChargeSeconds = formatNumber(parseNumber(ChargeSecondsTotal) /
                                 parseNumber(ChargeIntervalCount) * kChargeSlowdown);
    // Counts from the start of the interval just finished: one point more than remain.
    double seconds = parseNumber(ChargeSeconds) * (100 - parseNumber(lblPercChg.Caption));
    lblCharging.Caption = "Full charge in:  " + formatDuration(seconds);
    tmrCharge.setEnabled(false);
}

void frmMain::ResetEstimates() {
    lblTotal.Caption = "Recalculating battery life...";
    lblLeft.Caption = "Will take several minutes";
    mnuLife.Caption = lblTotal.Caption;
    mnuRemaining.Caption = lblLeft.Caption;
    tmrCalc.setEnabled(false);
    for (Label* label : {&lblTotal, &lblLeft, &lblChg, &lblCharging, &lblMyStart}) {
        label->Tag = "0";
    }
    tmrCharge.setEnabled(false);
    lblCharging.Caption = "Full charge in:  Recalculating...";
}

}  // namespace tv
