// The commands that change the machine: a setting, create, delete, activate, and the
// device search.

#include "platform/command_line.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "schemes/frm_power.h"
#include "schemes/my_mod.h"
#include "schemes/scheme_tables.h"

namespace tv {
namespace {

bool isWholeNumber(const std::string& text) {
    std::string digits = text.starts_with('-') ? text.substr(1) : text;
    return !digits.empty() && digits.size() <= 10 &&
           digits.find_first_not_of("0123456789") == std::string::npos;
}

// The first entry after entry 0 whose text begins with the name, ignoring case,
// wrapping around to entry 0 last; -1 when none does.
int findPrefix(const ListControl& box, const std::string& name) {
    int count = box.ListCount();
    for (int step = 1; step <= count; ++step) {
        int index = step % count;
        const std::string& item = box.List()[static_cast<std::size_t>(index)];
        if (item.size() >= name.size() && equalsIgnoreCase(item.substr(0, name.size()), name)) {
            return index;
        }
    }
    return -1;
}

}  // namespace

bool frmPower::noSchemeChosen() const {
    return cboSchemes.Text == kSchemeHeader || lstDevices.Visible;
}

void frmPower::cboMinutes_Click() {
    focus(cmdDummy);
    SelectDelayMinutes();
    if (cboMinutes2.ListCount() == cboMinutes.ListCount()) {
        cboMinutes2.setListIndex(cboMinutes.ListIndex());
    }
    yield();
    cmdApply_Click();
    yield();
    if (isWholeNumber(txtX1.Text) && isWholeNumber(txtY1.Text)) {
        services_.pointer.SetCursorPos(static_cast<int>(parseNumber(txtX1.Text)),
                                       static_cast<int>(parseNumber(txtY1.Text)));
        yield();
        services_.pointer.mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0);
    }
}

void frmPower::cmdApply_Click() {
    services_.view.LockWindowUpdate(&lstSchemes);
    int remembered = lstSchemes.ListIndex();
    if (cboMinutes.Text == kTimeDelay || cboMinutes.Text.empty() || remembered < 0) {
        services_.dialogs.MsgBox(kApplyMessage, vbInformation, kAppTitle);
        cboMinutes.Text = kTimeDelay;
        focus(cboSchemes);
        services_.view.LockWindowUpdate(nullptr);
        return;
    }
    std::string value = isThrottlePolicy(cboMinutes2.Text) ? cboMinutes2.Text : DelayMinutes;
    startAndWait(kChangeCommand + quoteArgument(lblName.Caption) + " " + lblOption.Caption + value);
    lstSchemes.Clear();
    services_.view.refresh(cboSchemes);
    pause(500);
    cboSchemes_Click();
    services_.view.LockWindowUpdate(nullptr);
    focus(lstSchemes);
    lstSchemes.setListIndex(remembered);
}

void frmPower::refillSchemeBox() {
    std::string file = tempFile("Temp.txt");
    if (FileExists(files_, file)) {
        files_.deleteFile(file);
    }
    yield();
    run(kListCommand, Text1);
    yield();
    saveTextToFile(files_, file, Text1.Text);
    yield();
    CopyFileToBox(files_, file, cboSchemes);
    CleanSchemeList(cboSchemes);
    yield();
}

void frmPower::cmdCreate_Click() {
    if (noSchemeChosen()) {
        services_.dialogs.MsgBox(kCreateMessage, vbInformation, kAppTitle);
        focus(cboSchemes);
        return;
    }
    std::string name = services_.dialogs.InputBox(kNamePrompt, kNameTitle, kNameDefault);
    if (name.empty() || name == kNameDefault) {
        return;
    }
    startAndWait(kCreateCommand + quoteArgument(name));
    pause(500);
    refillSchemeBox();
    int found = findPrefix(cboSchemes, name);
    if (found >= 0) {
        cboSchemes.setListIndex(found);
    }
}

void frmPower::cmdDelete_Click() {
    if (noSchemeChosen()) {
        services_.dialogs.MsgBox(kDeleteMessage, vbInformation, kAppTitle);
        focus(cboSchemes);
        return;
    }
    std::string active = replaceAll(lblPolicy.Caption, kActivePrefix, "");
    if (cboSchemes.Text == active) {
        services_.dialogs.MsgBox(activeSchemeWarning(cboSchemes.Text), vbExclamation, kAppTitle);
        return;
    }
    startAndWait(kDeleteCommand + quoteArgument(cboSchemes.Text));
    // The box shows what the tool left, so a refused delete keeps its scheme.
    refillSchemeBox();
    lstSchemes.Clear();
    if (cboSchemes.ListCount() > 0) {
        cboSchemes.setListIndex(0);
    }
}

void frmPower::cmdSet_Click() {
    if (noSchemeChosen()) {
        services_.dialogs.MsgBox(kSetActiveMessage, vbInformation, kAppTitle);
        focus(cboSchemes);
        return;
    }
    startAndWait(kSetActiveCommand + quoteArgument(cboSchemes.Text));
    pause(500);
    ShowActiveScheme();
}

// A box of this height shows so many lines; after appending, the caret's line is the
// last one shown.
std::string frmPower::firstVisibleLine(const TextBox& box) const {
    constexpr std::size_t kShownLines = 8;
    std::vector<std::string> lines = splitLines(box.Text);
    std::size_t count = lines.size();
    if (box.Text.ends_with('\n') || box.Text.ends_with('\r')) {
        ++count;  // the caret sits on the empty line after the last break
    }
    std::size_t first = count > kShownLines ? count - kShownLines : 0;
    return first < lines.size() ? lines[first] : std::string();
}

void frmPower::cmdDevices_Click() {
    lblList.Caption = kDevicesFound;
    lstDevices.Clear();
    lstDevices.AddItem(kSearching);
    lstDevices.Visible = true;
    yield();
    pause(100);
    services_.view.LockWindowUpdate(&lstDevices);
    yield();
    std::string file = tempFile("Temp3.txt");
    if (FileExists(files_, file)) {
        files_.deleteFile(file);
    }
    yield();
    run(kSleepStatesCommand, Text2);
    pause(250);
    std::string line = firstVisibleLine(Text2);
    std::string state = line.size() > 67 ? line.substr(67, 2) : std::string();
    run(kDeviceQueryCommand + state + "_supported", Text2);
    pause(250);
    saveTextToFile(files_, file, Text2.Text);
    yield();
    lstDevices.Clear();
    FillListFromFile(runtime(), files_, lstDevices, file, lstSchemes);
    yield();
    RemoveEmptyItems(lstDevices);
    yield();
    services_.view.LockWindowUpdate(nullptr);
    lblList.Caption = std::string(kDevicesFound) + " - " + std::to_string(lstDevices.ListCount());
}

}  // namespace tv
