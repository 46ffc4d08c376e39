#include "schemes/frm_power.h"

#include "platform/command_line.h"
#include "runtime/numbers.h"
#include "schemes/my_mod.h"
#include "schemes/run_behind.h"
#include "schemes/scheme_tables.h"

namespace tv {

const ControlPlace kPowerLayout[] = {
    {"cboSchemes", 158, 360, 3375, 315},   {"cboMinutes", 3765, 360, 1935, 315},
    {"lblList", 158, 840, 2550, 195},      {"lstSchemes", 158, 1080, 5535, 2220},
    {"lstDevices", 158, 1080, 5535, 2205}, {"Image1", 5333, 3397, 360, 360},
    {"lblPolicy", 278, 3480, 5295, 195},   {"lblChange", 1545, 3760, 2760, 195},
    {"cmdSet", 158, 4080, 975, 350},       {"cmdDelete", 1298, 4080, 975, 350},
    {"cmdCreate", 2438, 4080, 975, 350},   {"cmdDevices", 3578, 4080, 975, 350},
    {"cmdClose", 4718, 4080, 975, 350},    {"Text1", 120, 4800, 2415, 855},
    {"Text2", 2640, 4800, 2415, 2000},     {"cboMinutes2", 120, 5760, 1935, 315},
    {"lblName", 2160, 5760, 1500, 195},    {"lblOption", 3780, 5760, 1500, 195},
    {"txtX1", 120, 6240, 900, 285},        {"txtY1", 1080, 6240, 900, 285},
    {"cmdDummy", 2040, 6240, 600, 285},    {"cmdApply", 2700, 6240, 975, 350},
};
const std::size_t kPowerLayoutCount = sizeof kPowerLayout / sizeof kPowerLayout[0];

frmPower::frmPower(FormRuntime& runtime, PowerServices services,
                   std::optional<std::string> tempFolder)
    : Form(runtime, "frmPower"),
      services_(services),
      tempFolder_(std::move(tempFolder)),
      files_(services.files, tempFolder_.has_value(), [this] { return isLoaded(); }) {
    Caption = kAppTitle;
    Width = 396;
    Height = 332;
    for (Label* label : {&lblList, &lblPolicy, &lblChange}) {
        label->ForeColor = kGreen;
    }
    lstDevices.Visible = false;
    Image1.ToolTipText = "Settings Information";
    lblChange.ToolTipText = "Open Windows Control Panel Setting";
    cmdSet.ToolTipText = "Set the selected Power Scheme to active";
    cmdDelete.ToolTipText = "Delete selected Power Scheme";
    cmdCreate.ToolTipText = "Create a new Power Scheme";
    cmdDevices.ToolTipText = "Show Sleep enabled Devices";
    cmdApply.ToolTipText = "Change the delay times of a Power Scheme";
    wireEvents();
    Form_Initialize();
}

void frmPower::wireEvents() {
    cboSchemes.onClick = [this] { cboSchemes_Click(); };
    // A locked box offers nothing to choose.
    cboMinutes.onClick = [this] {
        if (!cboMinutes.Locked) {
            cboMinutes_Click();
        }
    };
    lstSchemes.onClick = [this] { lstSchemes_Click(); };
    lstSchemes.onMouseDown = [this](int, double, double) { lstSchemes_MouseDown(); };
    lstSchemes.onMouseUp = [this](int, double, double) { lstSchemes_MouseUp(); };
    TMousePos.onTimer = [this] { TMousePos_Timer(); };
    Image1.onClick = [this] { Image1_Click(); };
    Image1.onMouseMove = [this](int, double, double) { Image1_MouseMove(); };
    lblChange.onClick = [this] { lblChange_Click(); };
    lblChange.onMouseMove = [this](int, double, double) { lblChange_MouseMove(); };
    onMouseMove = [this](int, double, double) { Form_MouseMove(); };
    cmdApply.onClick = [this] { cmdApply_Click(); };
    cmdCreate.onClick = [this] { cmdCreate_Click(); };
    cmdDelete.onClick = [this] { cmdDelete_Click(); };
    cmdSet.onClick = [this] { cmdSet_Click(); };
    cmdDevices.onClick = [this] { cmdDevices_Click(); };
    cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmPower::properties(PropertyList& out) const {
    Form::properties(out);
    out.emplace_back("SettingSwitch", SettingSwitch);
    out.emplace_back("DelayMinutes", DelayMinutes);
    out.emplace_back("PointerPos.x", static_cast<long long>(PointerPos.x));
    out.emplace_back("PointerPos.y", static_cast<long long>(PointerPos.y));
}

std::string frmPower::tempFile(const char* name) const {
    return tempFolder_ ? *tempFolder_ + "/" + name : std::string(name);
}

void frmPower::focus(const Control& control) {
    // Before the window is first shown nothing can take the focus.
    if (Visible) {
        services_.view.setFocus(control);
    }
}

// A handler interrupted by the window's unload goes on when its yield returns; it
// starts nothing more and leaves a running tool behind.
void frmPower::run(const std::string& commandLine, TextBox& box) {
    if (!isLoaded()) {
        box.Text.clear();
        return;
    }
    RunBehind(services_.runner, runtime(), commandLine, box, [this] { return !isLoaded(); });
}

void frmPower::startAndWait(const std::string& commandLine) {
    if (!isLoaded()) {
        return;
    }
    if (std::unique_ptr<StartedProcess> started = services_.runner.start(commandLine, SW_HIDE)) {
        // The re-read after the fixed pause sees the change once the tool is done.
        started->waitForExit(kCommandWaitMs);
    }
}

void frmPower::Form_Initialize() {
    services_.view.InitCommonControls();
}

void frmPower::Form_Load() {
    cboMinutes.Text = kTimeDelay;
    FillThrottleValues();
    ListSchemes();
    ShowActiveScheme();
    FillDelayChoices();
}

void frmPower::Form_Unload() {
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        if (FileExists(files_, tempFile(name))) {
            files_.deleteFile(tempFile(name));
        }
    }
    TMousePos.setEnabled(false);
}

void frmPower::cmdClose_Click() {
    runtime().unload(*this);
}

void frmPower::lstSchemes_MouseDown() {
    TMousePos.setEnabled(true);
}

void frmPower::lstSchemes_MouseUp() {
    TMousePos.setEnabled(false);
}

void frmPower::TMousePos_Timer() {
    services_.pointer.GetCursorPos(PointerPos);
    txtX1.Text = std::to_string(PointerPos.x);
    txtY1.Text = std::to_string(PointerPos.y);
}

void frmPower::lblChange_MouseMove() {
    lblChange.ForeColor = kBlue;
    lblChange.MousePointer = 99;
    lblChange.MouseIcon = "101";
}

void frmPower::Form_MouseMove() {
    lblChange.ForeColor = kGreen;
}

void frmPower::lblChange_Click() {
    services_.runner.start(kAppletCommand, SW_SHOWMINIMIZED);
    lblChange.ForeColor = kSysButtonText;
}

void frmPower::Image1_MouseMove() {
    Image1.MousePointer = 99;
    Image1.MouseIcon = "101";
}

}  // namespace tv
