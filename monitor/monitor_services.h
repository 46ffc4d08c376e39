#pragma once
// Everything the monitor's window logic reaches outside itself, handed in by the
// program (Qt views, Linux services) or by tests and the scenario runner (fakes).

#include <string>

#include "monitor/charge_bar.h"
#include "monitor/desktop.h"
#include "monitor/window_proc.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/power_status.h"
#include "platform/registry_api.h"
#include "platform/single_instance.h"
#include "platform/sleep.h"
#include "platform/system_folder.h"
#include "platform/tray.h"
#include "runtime/dialogs.h"

namespace tv {

struct ProgramInfo {
    // Folder of the running executable, without a trailing separator.
    std::string folder;
    // Executable names the paths are built from; the files carry ".exe" after them.
    std::string exeName = "Tolvane";
    std::string schemesExeName = "Vantrel";
    std::string separator = "/";
    std::string appTitle = "Tolvane";

    std::string file(const std::string& name) const { return folder + separator + name; }
};

struct MonitorServices {
    PowerStatusSource& power;
    InstanceCheck& instance;
    TrayService& tray;
    SleepService& sleep;
    Launcher& launcher;
    SystemDirectory& systemDirectory;
    FileSystem& files;
    RegistryApi& registry;
    Dialogs& dialogs;
    Desktop& desktop;
    ProgramInfo program;
    // The charge bar control; none: a plain state-only bar.
    ChargeBar* chargeBar = nullptr;
    HWND hWnd = 1;
};

}  // namespace tv
