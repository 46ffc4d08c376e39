#include "monitor/frm_warning.h"

namespace tv {

namespace {

constexpr int kClientWidth = 291;
constexpr int kClientHeight = 167;

}  // namespace

frmWarning::frmWarning(FormRuntime& runtime, Desktop& desktop, const Form& mainWindow,
                       const Label& lifeLine)
    : Form(runtime, "frmWarning"), desktop_(desktop), mainWindow_(mainWindow), lifeLine_(lifeLine) {
    Caption = "Warning";
    Width = kClientWidth + kFrameWidth;
    Height = kClientHeight + kFrameHeight;
    Label1.ForeColor = kRed;
    lblMessage.ForeColor = kRed;
    Timer1.onTimer = [this] { Timer1_Timer(); };
    lblExit.onClick = [this] { lblExit_Click(); };
}

void frmWarning::Form_Load() {
    Left = (desktop_.screenWidth() - Width) / 2;
    Top = (desktop_.screenHeight() - Height) / 2;
    // Blinking starts from the load, and the message is there from the first moment
    // rather than half a second later.
    Timer1.setEnabled(false);
    Timer1.setEnabled(true);
    composeMessage();
    desktop_.windowLoaded(*this);
    desktop_.SetForegroundWindow(*this);
    Show();
}

void frmWarning::Form_Unload() {
    desktop_.windowUnloaded(*this);
}

void frmWarning::Timer1_Timer() {
    Label1.Visible = !Label1.Visible;
    composeMessage();
}

void frmWarning::composeMessage() {
    std::string life = lifeLine_.Caption == "Will take several minutes"
                           ? "Tolvane Remaining:  Unknown"
                           : lifeLine_.Caption;
    lblMessage.Caption = mainWindow_.Caption + "\r\n" + "Battery Charge:  Critical" + "\r\n" + life;
}

void frmWarning::lblExit_Click() {
    Timer1.setEnabled(false);
    runtime().unload(*this);
}

}  // namespace tv
