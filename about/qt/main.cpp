// About: what Tolvane is, its version, licence and libraries, and where it keeps its
// settings; started by the monitor's "A&bout".

#include <sqlite3.h>

#include <QApplication>

#include "about/frm_about.h"
#include "about/qt/about_view.h"
#include "platform/files_linux.h"
#include "platform/launcher_linux.h"
#include "platform/power_status_sysfs.h"
#include "platform/qt/qt_runtime.h"
#include "platform/registry_sqlite.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("About Tolvane"));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));

    // The environment is read here and nowhere below.
    tv::StorePaths store = tv::resolveStorePaths();
    tv::AboutFacts facts{qVersion(),         sqlite3_libversion(),        store.registry,
                         store.autostartDir, tv::defaultPowerSupplyDir(), tv::executableFolder()};

    tv::QtRuntime qt;
    tv::LinuxLauncher launcher(facts.programFolder);
    tv::frmAbout form(qt.runtime(), facts, launcher);
    tv::AboutView view(form, [&qt] { qt.afterEvent(); });
    qt.addView([&view] { view.sync(); });
    view.onUnloaded = [] { QCoreApplication::exit(0); };
    form.Show();
    qt.afterEvent();
    return QApplication::exec();
}
