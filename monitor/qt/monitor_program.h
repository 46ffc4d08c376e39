#pragma once
// The battery monitor as a desktop program: the window logic on the Linux services,
// its windows, tray icon and charge bar in Qt, timers in real time. SIGTERM, SIGINT
// and SIGHUP end it the way "&Exit" does, so a session logout or a script stopping
// it still removes the icon; SIGUSR1 shows the window as "&Show Window" does.

#include <QTimer>
#include <memory>

#include "monitor/frm_main.h"
#include "monitor/qt/monitor_views.h"
#include "monitor/qt/qt_charge_bar.h"
#include "monitor/qt/qt_tray.h"
#include "monitor/qt/warning_notice.h"
#include "platform/linux/files_linux.h"
#include "platform/linux/launcher_linux.h"
#include "platform/linux/power_status_sysfs.h"
#include "platform/linux/single_instance_linux.h"
#include "platform/power_events.h"
#include "platform/qt/dbus/desktop_notifications.h"
#include "platform/qt/dbus/upower_power_status.h"
#include "platform/qt/program_scaffold.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/system_power_policy.h"
#include "platform/sleep.h"

namespace tv {

class MonitorProgram {
  public:
    // Needs a QApplication.
    explicit MonitorProgram(const ProgramStart& start);
    ~MonitorProgram();

    // Runs Form_Load and the event loop; the process's exit code.
    int run();

  private:
    void forwardTrayEvent(std::uint32_t code);
    void onSignal(int signal);
    void connectDesktopServices();
    void settleWorkingSet();

    RealTimeRuntime time_;
    QtChargeBar chargeBar_;
    QtTray tray_;
    MonitorViews views_;
    SysfsPowerStatus power_;
    // UPower's readings, with the folder as fallback; none for a simulated folder.
    std::unique_ptr<UPowerPowerStatus> upower_;
    FlockInstanceCheck instance_;
    std::unique_ptr<SleepService> sleep_;
    LinuxLauncher launcher_;
    FixedSystemDirectory systemDirectory_;
    LinuxFiles linuxFiles_;
    HibernationFileView files_;
    std::unique_ptr<RegistryApi> registry_;
    // Applies the active power scheme from the samples the window logic takes.
    std::unique_ptr<SystemPowerPolicy> powerPolicy_;
    QtDialogs dialogs_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<PowerEvents> powerEvents_;
    std::unique_ptr<SignalForwarder> signals_;
    DesktopNotifications notifications_{QDBusConnection::sessionBus()};
    WarningNotice warningNotice_{notifications_};
    QTimer settle_;
    std::unique_ptr<QObject> hiddenWatch_;
};

}  // namespace tv
