#pragma once
// frmPower: the power-scheme manager's only window. It lists the schemes, shows and
// changes one setting at a time, creates, deletes and activates schemes and lists the
// devices that wake the machine, all through the powercfg console tool.
//
// A view constructs it with the services, loads it (Form_Load runs the first
// listing), mirrors the controls' state after every event and timer tick, and
// forwards the user's events through the controls' on* hooks.

#include <string>

#include "platform/files.h"
#include "platform/process.h"
#include "registry/general.h"
#include "runtime/controls.h"
#include "runtime/dialogs.h"
#include "runtime/forms.h"
#include "schemes/power_services.h"
#include "schemes/window_files.h"

namespace tv {

struct PowerServices {
    ProcessRunner& runner;
    FileSystem& files;
    General& general;  // titled with the program's title
    Dialogs& dialogs;
    PointerService& pointer;
    PowerView& view;
    TextMeasure& measure;
};

// Where the design puts each control, in twips (left, top, width, height). Controls
// whose top lies at or below the client height (4,545) only hold state.
struct ControlPlace {
    const char* name;
    int left, top, width, height;
};
extern const ControlPlace kPowerLayout[];
extern const std::size_t kPowerLayoutCount;

class frmPower : public Form {
  public:
    // tempFolder holds Temp.txt, Temp2.txt and Temp3.txt (the program folder when only
    // we may write there, else a private folder; see chooseTempFolder). Without one the
    // copies are kept in memory.
    frmPower(FormRuntime& runtime, PowerServices services, std::optional<std::string> tempFolder);

    // Visible controls, in the window's order.
    ComboBox cboSchemes{*this, "cboSchemes"};
    ComboBox cboMinutes{*this, "cboMinutes"};
    Label lblList{*this, "lblList", "Select a Power Scheme from the list"};
    ListBox lstSchemes{*this, "lstSchemes"};
    ListBox lstDevices{*this, "lstDevices"};
    PictureBox Image1{*this, "Image1", "information"};
    Label lblPolicy{*this, "lblPolicy", "Current Active Power Scheme: "};
    Label lblChange{*this, "lblChange", "Windows Control Panel Power Settings"};
    Button cmdSet{*this, "cmdSet", "&Set Active"};
    Button cmdDelete{*this, "cmdDelete", "&Delete"};
    Button cmdCreate{*this, "cmdCreate", "&Create"};
    Button cmdDevices{*this, "cmdDevices", "&Devices"};
    Button cmdClose{*this, "cmdClose", "&Exit"};
    // State kept below the client area.
    TextBox Text1{*this, "Text1", "Text1"};
    TextBox Text2{*this, "Text2", "Text2"};
    ComboBox cboMinutes2{*this, "cboMinutes2"};
    Label lblName{*this, "lblName"};
    Label lblOption{*this, "lblOption"};
    TextBox txtX1{*this, "txtX1"};
    TextBox txtY1{*this, "txtY1"};
    Button cmdDummy{*this, "cmdDummy"};
    Button cmdApply{*this, "cmdApply", "&Apply"};
    Timer TMousePos{*this, "TMousePos", 50, false};

    POINTAPI PointerPos;
    std::string SettingSwitch;
    std::string DelayMinutes;

    void properties(PropertyList& out) const override;

    void Form_Initialize();
    void cmdClose_Click();
    void TMousePos_Timer();
    void lstSchemes_MouseDown();
    void lstSchemes_MouseUp();
    void lblChange_Click();
    void lblChange_MouseMove();
    void Form_MouseMove();
    void Image1_MouseMove();

    // Scheme list and active scheme.
    void ListSchemes();
    void LoadSchemeList();
    void ShowActiveScheme();

    // Settings and value choices.
    void cboSchemes_Click();
    void lstSchemes_Click();
    void FillDelayChoices();
    void FillThrottleChoices();
    void FillThrottleValues();
    void SelectSettingSwitch();
    void SelectDelayMinutes();
    void Image1_Click();

    // Commands.
    void cboMinutes_Click();
    void cmdApply_Click();
    void cmdCreate_Click();
    void cmdDelete_Click();
    void cmdSet_Click();
    void cmdDevices_Click();

    // "Temp.txt" -> the file's full path (the bare name when the copies are in memory).
    std::string tempFile(const char* name) const;

    // How long a change, create, delete or activation may take before the window
    // goes on without it.
    static constexpr int kCommandWaitMs = 3000;

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void wireEvents();
    void yield() { runtime().DoEvents(); }
    void pause(int milliseconds) { runtime().clock().Sleep(milliseconds); }
    void focus(const Control& control);
    void run(const std::string& commandLine, TextBox& box);
    void startAndWait(const std::string& commandLine);
    void refillSchemeBox();
    void selectCreatedScheme(const std::string& name);
    bool noSchemeChosen() const;
    std::string selectedSetting() const;
    void prepareChangeableLine(const std::string& line);
    std::string firstVisibleLine(const TextBox& box) const;

    PowerServices services_;
    std::optional<std::string> tempFolder_;
    // Every file access of the window goes through here.
    WindowFiles files_;
};

}  // namespace tv
