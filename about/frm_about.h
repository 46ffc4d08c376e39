#pragma once
// The About window: the product and its version, what it is, its licence, the
// libraries it stands on, where the settings live and where the monitor takes its
// power readings from, with a button that opens the manual. Escape or "Close" ends it.

#include <string>

#include "platform/launcher.h"
#include "runtime/controls.h"
#include "runtime/forms.h"

namespace tv {

// What the window reports about this machine; the program's start-up finds it out.
struct AboutFacts {
    std::string qtVersion;
    std::string sqliteVersion;
    std::string storeFile;
    std::string autostartDir;
    std::string powerSupplyDir;
    // The manual is "Tolvane.chm" here, as the monitor's "&Help" opens it.
    std::string programFolder;
    // The monitor asks UPower first unless a power supply folder was chosen for it.
    bool upowerFirst = true;
};

class frmAbout : public Form {
  public:
    frmAbout(FormRuntime& runtime, AboutFacts facts, Launcher& launcher);

    Label lblProduct{*this, "lblProduct"};
    Label lblDescription{*this, "lblDescription"};
    Label lblLicence{*this, "lblLicence"};
    Label lblLibraries{*this, "lblLibraries"};
    Label lblStore{*this, "lblStore"};
    Label lblAutostart{*this, "lblAutostart"};
    Label lblPowerSupply{*this, "lblPowerSupply"};
    Button cmdManual{*this, "cmdManual", "&Manual"};
    Button cmdClose{*this, "cmdClose", "Close"};

  protected:
    void Form_Load() override;

  private:
    void cmdManual_Click();
    void cmdClose_Click();

    AboutFacts facts_;
    Launcher& launcher_;
};

}  // namespace tv
