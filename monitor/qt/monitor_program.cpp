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

int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int) {
    char byte = 1;
    // Nothing to do when the pipe is full: a stop is already on its way.
    ssize_t written = write(stopPipe[1], &byte, 1);
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
    if (stopPipe[0] >= 0) {
        close(stopPipe[0]);
        close(stopPipe[1]);
        stopPipe[0] = stopPipe[1] = -1;
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
    watchStopSignals();
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

void MonitorProgram::watchStopSignals() {
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    stopNotifier_ = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(stopNotifier_.get(), &QSocketNotifier::activated, [this] {
        char drain[16];
        while (read(stopPipe[0], drain, sizeof drain) > 0) {
        }
        main_->mPopExit.click();
        qt_.afterEvent();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace tv
