#pragma once
// The real main window logic and its Qt views on fake services, in virtual time: a
// power status that is set by hand, a private registry, recorded launches and sleep
// requests. Time moves only when asked, and the views are mirrored after each step
// as the program's runtime mirrors them after each tick. Used by the view test and
// by the screenshot maker.

#include <QApplication>
#include <memory>

#include "monitor/frm_main.h"
#include "monitor/qt/monitor_views.h"
#include "monitor/qt/qt_charge_bar.h"
#include "monitor/qt/qt_tray.h"
#include "monitor/testing/monitor_fakes.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/qt/testing/application.h"
#include "runtime/testing/recording_dialogs.h"

namespace tv::testing {

struct ViewRig {
    ViewRig() {
        fakes.withHibernationFile().useTray(tray).useDialogs(dialogs).useDesktop(views);
        fakes.useChargeBar(chargeBar).useWindowHandle(7);
        views.onQuit = [this] { quitRequested = true; };
        tray.setListener([this](std::uint32_t code) {
            main->onMouseMove(0, code, 0);
            sync();
        });
    }
    ~ViewRig() {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Builds the window and loads it with this first sample.
    frmMain& start(int ac, int flag, int percent) {
        set(ac, flag, percent);
        main = std::make_unique<frmMain>(runtime, fakes.services());
        main->Show();
        sync();
        return *main;
    }
    void set(int ac, int flag, int percent) {
        power.set(static_cast<std::uint8_t>(ac), static_cast<std::uint8_t>(flag),
                  static_cast<std::uint8_t>(percent));
    }
    // Moves virtual time on, firing the logic's timers, and mirrors the views.
    void wait(double seconds) {
        runtime.runTimersUntil(clock.nowMs() + static_cast<long long>(seconds * 1000));
        sync();
    }
    // Sets the sample and waits for the one refresh that reads it.
    void refresh(int ac, int flag, int percent) {
        set(ac, flag, percent);
        wait(5);
    }
    void sync() {
        views.sync();
        QCoreApplication::processEvents();
    }

    // Widgets need the application before anything else is built.
    struct Application {
        Application() { application(); }
    } app;
    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    QtTray tray{[] { return false; }};
    SqliteRegistry registry{":memory:", std::nullopt, seedRegistry};
    RecordingDialogs dialogs;
    QtChargeBar chargeBar;
    MonitorViews views{chargeBar.widget(), [this] { sync(); }};
    MonitorFakes fakes{calls, registry};
    FixedPowerStatus& power = fakes.power;
    RecordingLauncher& launcher = fakes.launcher;
    RecordingSleep& sleep = fakes.sleep;
    MemoryFiles& files = fakes.files;
    std::unique_ptr<frmMain> main;
    bool quitRequested = false;
};

}  // namespace tv::testing
