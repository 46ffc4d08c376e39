#include "monitor/qt/monitor_program.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <csignal>

#include "platform/linux/working_set.h"
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
    time_.qt().afterEvent();
    // The window is mapped on the loop's first pass; the desktop's services are asked
    // right after, so a slow bus does not hold it back.
    QTimer::singleShot(0, [this] { connectDesktopServices(); });
    return QApplication::exec();
}

namespace {

// Calls back when one of the program's windows or its menu is hidden.
class HiddenWindowWatch final : public QObject {
  public:
    explicit HiddenWindowWatch(std::function<void()> onHidden) : onHidden_(std::move(onHidden)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            onHidden_();
        }
        return false;
    }

  private:
    std::function<void()> onHidden_;
};

}  // namespace

void MonitorProgram::settleWorkingSet() {
    // Once start-up is over, and again each time the user leaves the monitor's windows
    // or its menu, the pages run for them are let go; the refresh maps back what it uses.
    constexpr std::chrono::seconds kSettleTime{10};
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleTime);
    QObject::connect(&settle_, &QTimer::timeout, [] { dropFilePages(); });
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &settle_, [this](QWindow* now) {
        if (now == nullptr) {
            settle_.start();
        }
    });
    hiddenWatch_ = std::make_unique<HiddenWindowWatch>([this] { settle_.start(); });
    qApp->installEventFilter(hiddenWatch_.get());
    settle_.start();
}

void MonitorProgram::connectDesktopServices() {
    if (statusNotifierHostRegistered(QDBusConnection::sessionBus())) {
        tray_.setContextMenu(&views_.exportPopupMenu(*main_, main_->mPopupSys));
    }
    powerEvents_ = makeSystemPowerEvents();
    powerEvents_->setListener([this](std::uint32_t event) {
        main_->window().SendMessageA(WM_POWERBROADCAST, event, 0);
        time_.qt().afterEvent();
    });
    time_.qt().afterEvent();
    settleWorkingSet();
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
