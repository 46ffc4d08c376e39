#include "schemes/qt/vantrel_program.h"

#include <QApplication>
#include <QEvent>
#include <chrono>
#include <csignal>
#include <cstdio>

#include "schemes/scheme_tables.h"

namespace tv {

namespace {

// Writes the wall-clock time of the first paint that shows a filled scheme box.
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

VantrelSetup desktopSetup(const ProgramStart& start) {
    VantrelSetup setup;
    setup.programFolder = start.folder;
    setup.tempFolder = chooseTempFolder(setup.programFolder, "vantrel", start.environment);
    if (!setup.tempFolder) {
        std::fprintf(stderr,
                     "Vantrel: no folder that only you can write to for the temporary files; "
                     "running without them\n");
    }
    setup.store = start.store;
    setup.pointerReplay = QtPointer::desktopAllowsReplay();
    setup.stampFirstListing = start.environment("VANTREL_READY_STAMP").has_value();
    return setup;
}

VantrelProgram::VantrelProgram(VantrelSetup setup)
    : setup_(std::move(setup)),
      view_([this] { time_.qt().afterEvent(); }),
      pointer_(setup_.pointerReplay),
      processes_(ProcessOptions{setup_.programFolder, setup_.toolEnvironment}),
      linuxLauncher_(setup_.programFolder),
      runner_(processes_, setup_.launcher != nullptr ? *setup_.launcher : linuxLauncher_),
      qtDialogs_([this] { return static_cast<QWidget*>(&view_); }),
      registry_(openStoreOrMemory(setup_.store, "Vantrel")) {
    Dialogs& dialogs = setup_.dialogs != nullptr ? *setup_.dialogs : qtDialogs_;
    general_ = std::make_unique<General>(*registry_, dialogs, kAppTitle);
    form_ = std::make_unique<frmPower>(
        time_.runtime(), PowerServices{runner_, files_, *general_, dialogs, pointer_, view_, view_},
        setup_.tempFolder);
    view_.attach(*form_);
    time_.qt().addView([this] { view_.sync(); });
    onQuit = [] { QCoreApplication::exit(0); };
    view_.onUnloaded = [this] {
        if (onQuit) {
            onQuit();
        }
    };
    if (setup_.stampFirstListing) {
        stampFirstListing();
    }
}

VantrelProgram::~VantrelProgram() {
    // A window still open (the program was stopped another way) removes its files.
    if (form_->isLoaded()) {
        time_.runtime().unload(*form_);
    }
    signals_.reset();
    view_.removeEventFilter(readyStamp_.get());
    form_.reset();
}

void VantrelProgram::open() {
    form_->Show();
    time_.qt().afterEvent();
}

int VantrelProgram::run() {
    signals_ = std::make_unique<SignalForwarder>(
        std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP}, [this](int) {
            form_->cmdClose.click();
            time_.qt().afterEvent();
        });
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

}  // namespace tv
