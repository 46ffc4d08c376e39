// About: what Tolvane is, its version, licence and libraries, and where it keeps its
// settings; started by the monitor's "A&bout".

#include <sqlite3.h>

#include <QApplication>
#include <iostream>

#include "about/frm_about.h"
#include "about/qt/about_view.h"
#include "platform/linux/launcher_linux.h"
#include "platform/linux/power_status_sysfs.h"
#include "platform/qt/program_scaffold.h"
#include "runtime/cli_manners.h"

namespace {

const char* const kUsage =
    "usage: About [--help | --version]\n"
    "Shows the version, licence and libraries of Tolvane and where its settings live.\n";

}  // namespace

int main(int argc, char** argv) {
    if (std::optional<int> code =
            tv::answerCommandLine({"About", kUsage, tv::Arguments::None}, {argv + 1, argv + argc},
                                  std::cout, std::cerr)) {
        return *code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("About Tolvane"));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));

    tv::ProgramStart start = tv::readProgramStart();
    tv::AboutFacts facts{qVersion(), sqlite3_libversion(), start.store.registry,
                         start.store.autostartDir, tv::powerSupplyDir(start.environment),
                         start.folder,
                         // A folder given this way is all the monitor reads.
                         !start.environment("TOLVANE_POWER_SUPPLY")};

    tv::RealTimeRuntime runtime;
    tv::LinuxLauncher launcher(facts.programFolder);
    tv::frmAbout form(runtime.runtime(), facts, launcher);
    tv::AboutView view(form, [&runtime] { runtime.qt().afterEvent(); });
    runtime.qt().addView([&view] { view.sync(); });
    view.onUnloaded = [] { QCoreApplication::exit(0); };
    form.Show();
    runtime.qt().afterEvent();
    return QApplication::exec();
}
