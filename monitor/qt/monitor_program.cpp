#include "monitor/qt/monitor_program.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "platform/power_events_system.h"
#include "platform/registry_sqlite.h"
#include "platform/sleep_system.h"

namespace tv {

namespace {

int signalPipe[2] = {-1, -1};

// The signal number travels through the pipe to the event loop.
extern "C" void onSignal(int signal) {
    char byte = static_cast<char>(signal);
    // Nothing to do when the pipe is full: the same request is already on its way.
    ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written;
}

std::unique_ptr<RegistryApi> openRegistry() {
    try {
        return std::make_unique<SqliteRegistry>(resolveStorePaths().registry);
    } catch (const std::runtime_error& error) {
        // The monitor had better run on defaults than not at all.
        std::fprintf(stderr, "Tolvane: %s; settings will not be kept\n", error.what());
        return std::make_unique<SqliteRegistry>(":memory:", std::string());
    }
}

}  // namespace

MonitorProgram::MonitorProgram()
    : views_(chargeBar_.widget(), [this] { qt_.afterEvent(); }),
      instance_(defaultInstanceLockPath("tolvane")),
      sleep_(makeSystemSleep()),
      launcher_(executableFolder()),
      systemDirectory_(std::string(kStandInSystemDirectory)),
      files_(*sleep_, &linuxFiles_),
      registry_(openRegistry()),
      dialogs_([this] { return static_cast<QWidget*>(views_.mainWindow()); }) {
    qt_.addView([this] { views_.sync(); });
    views_.onQuit = [] { QCoreApplication::exit(0); };
    main_ = std::make_unique<frmMain>(
        qt_.runtime(), MonitorServices{power_, instance_, tray_, *sleep_, launcher_,
                                       systemDirectory_, files_, *registry_, dialogs_, views_,
                                       ProgramInfo{executableFolder()}, &chargeBar_});
    tray_.setListener([this](std::uint32_t code) { forwardTrayEvent(code); });
}

MonitorProgram::~MonitorProgram() {
    // The window logic goes before the views and services it calls, and the widgets
    // dropped on the way out are deleted before the application goes.
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (signalPipe[0] >= 0) {
        close(signalPipe[0]);
        close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
}

int MonitorProgram::run() {
    main_->Show();
    if (views_.ended()) {
        return 0;  // another copy runs
    }
    powerEvents_ = makeSystemPowerEvents();
    powerEvents_->setListener([this](std::uint32_t event) {
        main_->window().SendMessageA(WM_POWERBROADCAST, event, 0);
        qt_.afterEvent();
    });
    watchSignals();
    qt_.afterEvent();
    return QApplication::exec();
}

void MonitorProgram::forwardTrayEvent(std::uint32_t code) {
    // Icon events reach the window as mouse moves whose x is the mouse message.
    if (main_->onMouseMove) {
        main_->onMouseMove(0, code, 0);
    }
    qt_.afterEvent();
}

void MonitorProgram::watchSignals() {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    signalNotifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(signalNotifier_.get(), &QSocketNotifier::activated, [this] {
        char signal = 0;
        while (read(signalPipe[0], &signal, 1) > 0) {
            // The same commands as the icon's menu: SIGUSR1 is "&Show Window", which
            // is the way back to a closed window where there is no icon.
            if (signal == SIGUSR1) {
                main_->mPopRestore.click();
            } else {
                main_->mPopExit.click();
            }
            qt_.afterEvent();
        }
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace tv
