#pragma once
// The monitor's services as fakes, owned in one place. Tests, benchmarks and the
// scenario runner start from this set, put in what they run for real (a power
// source, a store, the Qt views) and hand the result to frmMain.

#include <optional>
#include <string>

#include "monitor/monitor_services.h"
#include "monitor/testing/recording_desktop.h"
#include "platform/testing/fixed_instance_check.h"
#include "platform/testing/fixed_power_status.h"
#include "platform/testing/memory_files.h"
#include "platform/testing/recording_launcher.h"
#include "platform/testing/recording_sleep.h"
#include "platform/testing/recording_tray.h"
#include "runtime/call_log.h"
#include "runtime/testing/recording_dialogs.h"

namespace tv::testing {

class MonitorFakes {
  public:
    // Every fake records into calls; the store is always the caller's.
    MonitorFakes(CallLog& calls, RegistryApi& registry)
        : tray(calls), sleep(calls), launcher(calls), desktop(calls), registry_(&registry) {
        program.folder = "/opt/tolvane";
    }
    MonitorFakes(const MonitorFakes&) = delete;
    MonitorFakes& operator=(const MonitorFakes&) = delete;

    // Replacements for single fakes; each returns *this so a set reads as one line.
    MonitorFakes& usePower(PowerStatusSource& source) { return set(power_, source); }
    MonitorFakes& useTray(TrayService& service) { return set(tray_, service); }
    MonitorFakes& useDialogs(Dialogs& service) { return set(dialogs_, service); }
    MonitorFakes& useDesktop(Desktop& service) { return set(desktop_, service); }
    MonitorFakes& useChargeBar(ChargeBar& bar) { return set(chargeBar_, bar); }
    MonitorFakes& useWindowHandle(HWND handle) {
        hWnd_ = handle;
        return *this;
    }
    // A hibernation file where the check looks for it, so "Hibernate" shows.
    MonitorFakes& withHibernationFile() {
        files.put("C:\\hiberfil.sys", "", vbAttrHidden | vbAttrSystem);
        return *this;
    }

    MonitorServices services() {
        return MonitorServices{power_ ? *power_ : power,
                               instance,
                               tray_ ? *tray_ : tray,
                               sleep,
                               launcher,
                               systemDirectory,
                               files,
                               *registry_,
                               dialogs_ ? *dialogs_ : dialogs,
                               desktop_ ? *desktop_ : desktop,
                               program,
                               chargeBar_,
                               hWnd_};
    }

    FixedPowerStatus power;
    FixedInstanceCheck instance;
    RecordingTray tray;
    RecordingSleep sleep;
    RecordingLauncher launcher;
    FixedSystemDirectory systemDirectory{std::string(kStandInSystemDirectory)};
    MemoryFiles files;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    ProgramInfo program;

  private:
    template <typename T>
    MonitorFakes& set(T*& slot, T& value) {
        slot = &value;
        return *this;
    }

    RegistryApi* registry_;
    PowerStatusSource* power_ = nullptr;
    TrayService* tray_ = nullptr;
    Dialogs* dialogs_ = nullptr;
    Desktop* desktop_ = nullptr;
    ChargeBar* chargeBar_ = nullptr;
    HWND hWnd_ = 1;
};

}  // namespace tv::testing
