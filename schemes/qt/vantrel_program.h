#pragma once
// The power-scheme manager as a desktop program: frmPower on the Linux services, its
// window in Qt, timers in real time. The powercfg runs look for the tool in the
// program folder first; the power applet link opens the desktop's power settings.
// SIGTERM, SIGINT and SIGHUP close the window the way "&Exit" does, so the temporary
// files go with it.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/files_linux.h"
#include "platform/linux/launcher_linux.h"
#include "platform/linux/process_linux.h"
#include "platform/qt/program_scaffold.h"
#include "platform/qt/qt_dialogs.h"
#include "registry/general.h"
#include "runtime/dialogs.h"
#include "schemes/frm_power.h"
#include "schemes/qt/applet_runner.h"
#include "schemes/qt/power_window_view.h"
#include "schemes/qt/qt_pointer.h"

namespace tv {

// What differs between the installed program and a test of its real window.
struct VantrelSetup {
    std::string programFolder;
    std::optional<std::string> tempFolder;  // none: the window keeps its copies in memory
    StorePaths store;
    // Set for the powercfg runs on top of our own environment.
    std::vector<std::pair<std::string, std::string>> toolEnvironment;
    bool pointerReplay = false;
    // The wall-clock time of the first paint with a filled scheme box goes to standard
    // error, for measuring the start-up from outside.
    bool stampFirstListing = false;
    Dialogs* dialogs = nullptr;    // null: Qt's modal boxes
    Launcher* launcher = nullptr;  // null: the Linux launcher
};

// The running executable's folder, its temporary folder, the user's store, and the
// pointer replay where the desktop allows it. Needs a QApplication.
VantrelSetup desktopSetup(const ProgramStart& start);

class VantrelProgram {
  public:
    // Needs a QApplication.
    explicit VantrelProgram(VantrelSetup setup);
    ~VantrelProgram();
    VantrelProgram(const VantrelProgram&) = delete;
    VantrelProgram& operator=(const VantrelProgram&) = delete;

    // Runs Form_Load (the first listing) and shows the window.
    void open();
    // open, then the event loop until the window unloads; the exit code.
    int run();

    frmPower& form() { return *form_; }
    PowerWindowView& view() { return view_; }
    QtRuntime& qt() { return time_.qt(); }

    // Called once when the window has unloaded; by default ends the event loop.
    std::function<void()> onQuit;

  private:
    void stampFirstListing();

    VantrelSetup setup_;
    RealTimeRuntime time_;
    PowerWindowView view_;
    QtPointer pointer_;
    PosixProcessRunner processes_;
    LinuxLauncher linuxLauncher_;
    AppletRunner runner_;
    LinuxFiles files_;
    QtDialogs qtDialogs_;
    std::unique_ptr<RegistryApi> registry_;
    std::unique_ptr<General> general_;
    std::unique_ptr<frmPower> form_;
    std::unique_ptr<SignalForwarder> signals_;
    std::unique_ptr<QObject> readyStamp_;
};

}  // namespace tv
