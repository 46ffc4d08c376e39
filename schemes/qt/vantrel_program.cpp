#include "schemes/qt/vantrel_program.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/registry_sqlite.h"
#include "schemes/scheme_tables.h"

namespace tv {

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int) {
    char byte = 1;
    // Nothing to do when the pipe is full: a stop is already on its way.
    ssize_t written = write(stopPipe[1], &byte, 1);
    (void)written;
}

std::unique_ptr<RegistryApi> openRegistry(const std::string& path) {
    try {
        return std::make_unique<SqliteRegistry>(path);
    } catch (const std::runtime_error& error) {
        // The scheme list comes from powercfg; only the active name would be missing.
        std::fprintf(stderr, "Vantrel: %s\n", error.what());
        return std::make_unique<SqliteRegistry>(":memory:", std::string());
    }
}

// With VANTREL_READY_STAMP set, the wall-clock time of the first paint that shows a
// filled scheme box goes to standard error, for measuring the start-up from outside.
class ReadyStamp : public QObject {
  public:
    explicit ReadyStamp(frmPower& form) : form_(form) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint && form_.Visible &&
            form_.cboSchemes.ListCount() > 0) {
            done_ = true;
            using namespace std::chrono;
            auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
            std::fprintf(stderr, "Vantrel: first listing shown at %lld.%06lld\n",
                         static_cast<long long>(now.count() / 1000000),
                         static_cast<long long>(now.count() % 1000000));
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    frmPower& form_;
    bool done_ = false;
};

}  // namespace

VantrelSetup desktopSetup() {
    VantrelSetup setup;
    setup.programFolder = executableFolder();
    setup.tempFolder = chooseTempFolder(setup.programFolder, "vantrel", processEnvironment())
                           .value_or(setup.programFolder);
    setup.registryPath = resolveStorePaths().registry;
    setup.pointerReplay = QtPointer::desktopAllowsReplay();
    return setup;
}

VantrelProgram::VantrelProgram(VantrelSetup setup)
    : setup_(std::move(setup)),
      view_([this] { qt_.afterEvent(); }),
      pointer_(setup_.pointerReplay),
      processes_(ProcessOptions{setup_.programFolder, setup_.toolEnvironment}),
      linuxLauncher_(setup_.programFolder),
      runner_(processes_, setup_.launcher != nullptr ? *setup_.launcher : linuxLauncher_),
      qtDialogs_([this] { return static_cast<QWidget*>(&view_); }),
      registry_(openRegistry(setup_.registryPath)) {
    Dialogs& dialogs = setup_.dialogs != nullptr ? *setup_.dialogs : qtDialogs_;
    general_ = std::make_unique<General>(*registry_, dialogs, kAppTitle);
    form_ = std::make_unique<frmPower>(
        qt_.runtime(), PowerServices{runner_, files_, *general_, dialogs, pointer_, view_, view_},
        setup_.tempFolder);
    view_.attach(*form_);
    qt_.addView([this] { view_.sync(); });
    onQuit = [] { QCoreApplication::exit(0); };
    view_.onUnloaded = [this] {
        if (onQuit) {
            onQuit();
        }
    };
    if (std::getenv("VANTREL_READY_STAMP") != nullptr) {
        stampFirstListing();
    }
}

VantrelProgram::~VantrelProgram() {
    // A window still open (the program was stopped another way) removes its files.
    if (form_->isLoaded()) {
        qt_.runtime().unload(*form_);
    }
    view_.removeEventFilter(readyStamp_.get());
    form_.reset();
    if (stopPipe[0] >= 0) {
        close(stopPipe[0]);
        close(stopPipe[1]);
        stopPipe[0] = stopPipe[1] = -1;
    }
}

void VantrelProgram::open() {
    form_->Show();
    qt_.afterEvent();
}

int VantrelProgram::run() {
    watchStopSignals();
    open();
    if (!form_->isLoaded()) {
        return 0;
    }
    return QApplication::exec();
}

void VantrelProgram::stampFirstListing() {
    readyStamp_ = std::make_unique<ReadyStamp>(*form_);
    view_.installEventFilter(readyStamp_.get());
}

void VantrelProgram::watchStopSignals() {
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    stopNotifier_ = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(stopNotifier_.get(), &QSocketNotifier::activated, [this] {
        char drain[16];
        while (read(stopPipe[0], drain, sizeof drain) > 0) {
        }
        form_->cmdClose.click();
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
