#pragma once
// The real Vantrel window (frmPower, its Qt view and the real-time runtime) on the real
// powercfg from the bin folder, with a private store, a stand-in machine (power state
// file and a sysfs tree with two wake devices), recorded dialogs and launches. Used by
// the view test and the screenshot maker.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/launcher.h"
#include "platform/qt/testing/application.h"
#include "platform/testing/recording_launcher.h"
#include "runtime/testing/recording_dialogs.h"
#include "runtime/testing/temp_dir.h"
#include "schemes/qt/vantrel_program.h"

namespace tv::testing {

// Processes events for the given time (timers fire, queued work runs).
inline void settle(int milliseconds = 0) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (clock.elapsed() < milliseconds);
}

class VantrelRig {
  public:
    struct Options {
        bool pointerReplay = false;
        bool qtDialogs = false;  // the program's own modal boxes instead of recorded ones
    };

    VantrelRig() : VantrelRig(Options{}) {}
    explicit VantrelRig(Options options) {
        application();
        namespace fs = std::filesystem;
        fs::create_directories(folder_ + "/temp");
        fs::permissions(folder_ + "/temp", fs::perms::owner_all);
        write("/state", "freeze mem disk\n");
        write("/sys/bus/usb/devices/1-1/power/wakeup", "enabled\n");
        write("/sys/bus/usb/devices/1-1/product", "USB Keyboard\n");
        write("/sys/bus/pci/devices/0000:00:1f.6/power/wakeup", "disabled\n");
        write("/sys/bus/pci/devices/0000:00:1f.6/product", "Ethernet Controller\n");

        VantrelSetup setup;
        setup.programFolder = TV_BIN_DIR;
        setup.tempFolder = folder_ + "/temp";
        setup.store = {folder_ + "/registry.db", ""};
        setup.toolEnvironment = {{"TOLVANE_REGISTRY", setup.store.registry},
                                 {"TOLVANE_SYSFS_ROOT", folder_ + "/sys"},
                                 {"TOLVANE_POWER_STATE_FILE", folder_ + "/state"}};
        setup.pointerReplay = options.pointerReplay;
        setup.dialogs = options.qtDialogs ? nullptr : &dialogs;
        setup.launcher = &launcher;
        program = std::make_unique<VantrelProgram>(setup);
        program->onQuit = [this] { ++quits; };
    }
    ~VantrelRig() {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    VantrelRig(const VantrelRig&) = delete;
    VantrelRig& operator=(const VantrelRig&) = delete;

    // Loads the window (the first listing) and shows it.
    void open() {
        program->open();
        settle();
    }

    frmPower& form() { return program->form(); }
    PowerWindowView& view() { return program->view(); }
    template <typename Widget = QWidget>
    Widget& widget(const char* name) {
        auto* found = dynamic_cast<Widget*>(view().widgetFor(name));
        if (found == nullptr) {
            std::abort();  // a test asked for a control the window does not show
        }
        return *found;
    }
    QComboBox& schemes() { return widget<QComboBox>("cboSchemes"); }
    QComboBox& values() { return widget<QComboBox>("cboMinutes"); }
    QListWidget& settings() { return widget<QListWidget>("lstSchemes"); }
    QListWidget& devices() { return widget<QListWidget>("lstDevices"); }

    // The user's choice of an entry, as the drop-down reports it.
    bool choose(QComboBox& box, const QString& text) {
        int index = box.findText(text);
        if (index < 0) {
            return false;
        }
        box.setCurrentIndex(index);
        emit box.activated(index);
        settle();
        return true;
    }
    // The user's click on the settings line that starts with the text.
    bool chooseSetting(const QString& start) {
        for (int row = 0; row < settings().count(); ++row) {
            if (settings().item(row)->text().startsWith(start)) {
                clickRow(row);
                return true;
            }
        }
        return false;
    }
    void clickRow(int row) {
        QListWidget& list = settings();
        QPoint at = list.visualItemRect(list.item(row)).center();
        sendButton(*list.viewport(), QEvent::MouseButtonPress, at);
        sendButton(*list.viewport(), QEvent::MouseButtonRelease, at);
        settle();
    }
    void click(const char* button) {
        widget<QPushButton>(button).click();
        settle();
    }
    static void sendButton(QWidget& target, QEvent::Type type, QPoint at) {
        Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(at), QPointF(target.mapToGlobal(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }

    const std::string& folder() const { return folder_; }
    std::string tempFile(const char* name) const { return folder_ + "/temp/" + name; }

    RecordingDialogs dialogs;
    CallLog calls;
    RecordingLauncher launcher{calls};
    std::unique_ptr<VantrelProgram> program;
    int quits = 0;

  private:
    void write(const std::string& relative, const std::string& text) {
        std::filesystem::path path = folder_ + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    TempDir dir_{"vantrel-rig"};
    std::string folder_ = dir_.path();
};

}  // namespace tv::testing
