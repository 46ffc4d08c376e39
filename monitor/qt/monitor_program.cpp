#include "monitor/qt/monitor_program.h"

#include <QApplication>
#include <csignal>

#include "platform/qt/dbus/power_events_system.h"
#include "platform/qt/dbus/sleep_system.h"
#include "platform/qt/dbus/status_notifier.h"

namespace tv {

MonitorProgram::MonitorProgram(const ProgramStart& start)
    : views_(chargeBar_.widget(), [this] { time_.qt().afterEvent(); }),
      power_(powerSupplyDir(start.environment)),
      // A second start wakes this copy as "&Show Window" does.
      instance_(instanceLockPath("tolvane", start.environment), SIGUSR1),
      sleep_(makeSystemSleep()),
      launcher_(start.folder),
      systemDirectory_(std::string(kStandInSystemDirectory)),
      files_(*sleep_, &linuxFiles_),
      registry_(openStoreOrMemory(start.store, "Tolvane")),
      dialogs_([this] { return static_cast<QWidget*>(views_.mainWindow()); }) {
    // The desktop's own indicator reads UPower, so the monitor does too where it can;
    // a folder chosen in the environment is a simulated supply and is read directly.
    if (!start.environment("TOLVANE_POWER_SUPPLY")) {
        upower_ = std::make_unique<UPowerPowerStatus>(QDBusConnection::systemBus(), power_);
    }
    PowerStatusSource& power = upower_ ? static_cast<PowerStatusSource&>(*upower_) : power_;
    powerPolicy_ = std::make_unique<SystemPowerPolicy>(powerPolicyEnvironment(start.environment),
                                                       *registry_, power);
    time_.qt().addView([this] { views_.sync(); });
    time_.qt().addView([this] {
        if (main_) {
            warningNotice_.sync(*main_, main_->powerStatus().ACLineStatus == AC_LINE_ONLINE);
        }
    });
    views_.onQuit = [] { QCoreApplication::exit(0); };
    main_ = std::make_unique<frmMain>(
        time_.runtime(), MonitorServices{powerPolicy_->powerSource(), instance_, tray_, *sleep_,
                                         launcher_, systemDirectory_, files_, *registry_, dialogs_,
                                         views_, ProgramInfo{start.folder}, &chargeBar_});
    tray_.setListener([this](std::uint32_t code) { forwardTrayEvent(code); });
}

MonitorProgram::~MonitorProgram() {
    // The window logic goes before the views and services it calls, and the widgets
    // dropped on the way out are deleted before the application goes.
    signals_.reset();
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int MonitorProgram::run() {
    // Before the load takes the instance lock: from then on a second start may signal.
    signals_ = std::make_unique<SignalForwarder>(
        std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP, SIGUSR1},
        [this](int signal) { onSignal(signal); });
    main_->Show();
    if (views_.ended()) {
        return 0;  // another copy runs
    }
    if (statusNotifierHostRegistered(QDBusConnection::sessionBus())) {
        tray_.setContextMenu(&views_.exportPopupMenu(*main_, main_->mPopupSys));
    }
    powerEvents_ = makeSystemPowerEvents();
    powerEvents_->setListener([this](std::uint32_t event) {
        main_->window().SendMessageA(WM_POWERBROADCAST, event, 0);
        time_.qt().afterEvent();
    });
    time_.qt().afterEvent();
    return QApplication::exec();
}

void MonitorProgram::forwardTrayEvent(std::uint32_t code) {
    // Icon events reach the window as mouse moves whose x is the mouse message.
    if (main_->onMouseMove) {
        main_->onMouseMove(0, code, 0);
    }
    time_.qt().afterEvent();
}

void MonitorProgram::onSignal(int signal) {
    // The same commands as the icon's menu: SIGUSR1 is "&Show Window", which is the way
    // back to a closed window where there is no icon.
    if (signal == SIGUSR1) {
        main_->mPopRestore.click();
    } else {
        main_->mPopExit.click();
    }
    time_.qt().afterEvent();
}

}  // namespace tv
