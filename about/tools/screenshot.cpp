// about-screenshot DIR: the real About window on a recording launcher, with the
// settings of a typical user, saved as DIR/about.png (framed with a plain title bar).

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <cstdio>

#include "about/qt/about_view.h"
#include "platform/qt/window_shot.h"
#include "platform/testing/recording_launcher.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: about-screenshot DIR\n");
        return 2;
    }
    tv::VirtualClock clock;
    tv::FormRuntime runtime(clock);
    tv::CallLog calls;
    tv::RecordingLauncher launcher(calls);
    tv::frmAbout form(
        runtime,
        {qVersion(), sqlite3_libversion(), "/home/ann/.config/tolvane/registry.db",
         "/home/ann/.config/autostart", "/sys/class/power_supply", "/usr/lib/tolvane", true},
        launcher);
    tv::AboutView view(form, [] {});
    form.Show();
    view.sync();
    QCoreApplication::processEvents();
    return tv::saveShot(tv::framedWindow(view), QDir(QString::fromLocal8Bit(argv[1])),
                        QStringLiteral("about.png"), "about-screenshot")
               ? 0
               : 1;
}
