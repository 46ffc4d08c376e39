#include "about/frm_about.h"

#include "tv_version.h"

namespace tv {

frmAbout::frmAbout(FormRuntime& runtime, AboutFacts facts, Launcher& launcher)
    : Form(runtime, "frmAbout"), facts_(std::move(facts)), launcher_(launcher) {
    cmdManual.onClick = [this] { cmdManual_Click(); };
    cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmAbout::Form_Load() {
    Caption = "About Tolvane";
    lblProduct.Caption = std::string("Tolvane ") + kVersion;
    lblDescription.Caption =
        "A battery monitor for the notification area, with Vantrel, a power-scheme manager.";
    lblLicence.Caption =
        "Copyright (c) 2026 the Tolvane developers. Free software under the MIT licence.";
    lblLibraries.Caption =
        "Built on Qt " + facts_.qtVersion + " and SQLite " + facts_.sqliteVersion + ".";
    lblStore.Caption = "Settings:  " + facts_.storeFile;
    lblAutostart.Caption = "Start at login:  " + facts_.autostartDir + "/Tolvane.desktop";
    lblPowerSupply.Caption =
        "Power readings:  " +
        (facts_.upowerFirst ? "UPower, else " + facts_.powerSupplyDir : facts_.powerSupplyDir);
}

void frmAbout::cmdManual_Click() {
    launcher_.ShellExecuteA("open", facts_.programFolder + "/Tolvane.chm", "", "", kShowNormal);
}

void frmAbout::cmdClose_Click() {
    runtime().unload(*this);
}

}  // namespace tv
