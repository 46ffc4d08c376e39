// The scheme list, the active scheme, and a scheme's settings with their value choices.

#include "platform/command_line.h"
#include "registry/active_scheme.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "schemes/frm_power.h"
#include "schemes/my_mod.h"
#include "schemes/scheme_tables.h"

namespace tv {

void frmPower::ListSchemes() {
    std::string file = tempFile("Temp.txt");
    if (FileExists(files_, file)) {
        files_.deleteFile(file);
    }
    run(kListCommand, Text1);
    yield();
    saveTextToFile(files_, file, Text1.Text);
    yield();
    LoadSchemeList();
    cboMinutes.Locked = true;
}

void frmPower::LoadSchemeList() {
    CopyFileToBox(files_, tempFile("Temp.txt"), cboSchemes);
    CleanSchemeList(cboSchemes);
    if (cboSchemes.ListCount() > 0) {
        cboSchemes.setListIndex(0);
    }
    yield();
}

void frmPower::ShowActiveScheme() {
    lblPolicy.Caption = kActivePrefix + GetActiveSchemeName(services_.general);
}

void frmPower::cboSchemes_Click() {
    lstDevices.Visible = false;
    if (cboSchemes.Text == kSchemeHeader) {
        Text1.Text.clear();
        lstSchemes.Clear();
        cboMinutes.Text = kTimeDelay;
        lblName.Caption = cboSchemes.Text;
        lblList.Caption = kSelectScheme;
        return;
    }
    services_.view.LockWindowUpdate(&lstSchemes);
    cboMinutes.Text = kTimeDelay;
    focus(cmdDummy);
    lblName.Caption = cboSchemes.Text;
    std::string file = tempFile("Temp2.txt");
    if (FileExists(files_, file)) {
        files_.deleteFile(file);
    }
    yield();
    run(kQueryCommand + quoteArgument(cboSchemes.Text), Text1);
    yield();
    saveTextToFile(files_, file, Text1.Text);
    yield();
    lstSchemes.Clear();
    FillListFromFile(runtime(), files_, lstSchemes, file, lstSchemes);
    services_.view.LockWindowUpdate(nullptr);
    yield();
    SetListScrollWidth(lstSchemes, services_.measure);
    lblList.Caption = kSelectItem;
}

std::string frmPower::selectedSetting() const {
    int index = lstSchemes.ListIndex();
    return index >= 0 ? lstSchemes.List()[static_cast<std::size_t>(index)] : std::string();
}

void frmPower::lstSchemes_Click() {
    std::string line = selectedSetting();
    cboMinutes.Clear();
    bool throttle = contains(line, "ADAPTIVE") || contains(line, "DEGRADE") ||
                    contains(line, "CONSTANT") || contains(line, "NONE");
    if (throttle) {
        FillThrottleChoices();
    } else {
        FillDelayChoices();
    }
    bool hasParen = contains(line, "(");
    bool unsupported = contains(line, "Not Supported");
    std::size_t close = line.rfind(')');
    std::string key = close == std::string::npos ? std::string() : line.substr(0, close + 1);
    // A line whose label is not one of the ten settings would be changed with the
    // previous line's switch, so it is treated like an unchangeable one.
    if (hasParen && !unsupported && switchForLabel(key)) {
        prepareChangeableLine(line);
    } else if (contains(line, "Numerical") || contains(line, "Name") || hasParen) {
        cboMinutes.Text = kTimeDelay;
        cboMinutes.Locked = true;
    }
}

void frmPower::prepareChangeableLine(const std::string& line) {
    std::size_t close = line.rfind(')');
    std::string value = trimBlanks(close == std::string::npos ? line : line.substr(close + 1));
    cboMinutes.Text = value;
    cboMinutes2.Text = contains(line, "Processor") ? value : std::string();
    SelectSettingSwitch();
    lblOption.Caption = SettingSwitch;
    cboMinutes.Locked = false;
}

void frmPower::SelectSettingSwitch() {
    std::string line = selectedSetting();
    std::size_t close = line.rfind(')');
    std::string key = close == std::string::npos ? std::string() : line.substr(0, close + 1);
    if (std::optional<std::string> found = switchForLabel(key)) {
        SettingSwitch = *found;
    }
}

void frmPower::SelectDelayMinutes() {
    if (std::optional<std::string> minutes = minutesForDelay(cboMinutes.Text)) {
        DelayMinutes = *minutes;
    }
}

void frmPower::FillDelayChoices() {
    cboMinutes.Clear();
    cboMinutes.Text = kTimeDelay;
    for (const DelayRow& row : kDelays) {
        cboMinutes.AddItem(row.label);
    }
}

void frmPower::FillThrottleChoices() {
    cboMinutes.Clear();
    cboMinutes.Text = kProcessorSetting;
    for (const ThrottleRow& row : kThrottles) {
        cboMinutes.AddItem(row.policy);
    }
}

void frmPower::FillThrottleValues() {
    cboMinutes2.Clear();
    for (const ThrottleRow& row : kThrottles) {
        cboMinutes2.AddItem(row.policy);
    }
}

void frmPower::Image1_Click() {
    services_.dialogs.MsgBox(throttleHelpText(), vbInformation, kAppTitle);
}

}  // namespace tv
