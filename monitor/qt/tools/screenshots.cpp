// tolvane-screenshots DIR: drives the monitor's real windows on a power source
// stepped in virtual time and saves what they show: on battery with its estimates,
// on mains while charging, at critical charge with the warning window, and the popup
// menu. Widgets are grabbed as drawn (Qt's offscreen platform does), then framed
// with a plain title bar so the caption can be read.

#include <QDir>
#include <QPainter>
#include <cstdio>

#include "monitor/qt/testing/view_rig.h"
#include "platform/qt/window_shot.h"
#include "resources/resources.h"

namespace {

using tv::testing::ViewRig;

bool save(const QImage& image, const QDir& dir, const QString& name) {
    return tv::saveShot(image, dir, name, "tolvane-screenshots");
}

// A battery that loses (or gains) one point every secondsPerPoint, refreshed by the
// logic every 5 s, for the given time.
void run(ViewRig& rig, int ac, int fromPercent, int step, int secondsPerPoint, int seconds) {
    for (int t = 5; t <= seconds; t += 5) {
        int percent = fromPercent + step * (t / secondsPerPoint);
        bool charging = ac == tv::AC_LINE_ONLINE && percent < 100;
        rig.refresh(ac, tv::batteryFlagFor(percent, charging), percent);
    }
}

bool batteryShot(const QDir& dir) {
    ViewRig rig;
    rig.start(tv::AC_LINE_OFFLINE, tv::batteryFlagFor(71, false), 71);
    run(rig, tv::AC_LINE_OFFLINE, 71, -1, 66, 9 * 60);
    return save(tv::framedWindow(*rig.views.mainWindow()), dir, "tolvane-battery.png");
}

bool mainsShot(const QDir& dir) {
    ViewRig rig;
    rig.start(tv::AC_LINE_ONLINE, tv::batteryFlagFor(58, true), 58);
    run(rig, tv::AC_LINE_ONLINE, 58, 1, 54, 8 * 60);
    return save(tv::framedWindow(*rig.views.mainWindow()), dir, "tolvane-mains.png");
}

// The warning window sits centred over the main window, as both are centred on the
// screen.
bool criticalShot(const QDir& dir) {
    ViewRig rig;
    rig.start(tv::AC_LINE_OFFLINE, tv::batteryFlagFor(7, false), 7);
    run(rig, tv::AC_LINE_OFFLINE, 7, -1, 40, 2 * 60);
    // Both blinking lines in their shown phase, where their phases allow it.
    for (int step = 0; step < 30; ++step) {
        if (rig.views.warningWindow()->headline().isVisible() &&
            rig.main->lblStatusString.Visible) {
            break;
        }
        rig.wait(0.1);
    }
    QImage main = tv::framedWindow(*rig.views.mainWindow());
    QImage warning = tv::framedWindow(*rig.views.warningWindow());
    QImage out = main.copy();
    QPainter painter(&out);
    painter.drawImage((main.width() - warning.width()) / 2, (main.height() - warning.height()) / 2,
                      warning);
    painter.end();
    return save(out, dir, "tolvane-critical.png");
}

// The menu as it opens beside the hidden window after a right click on the icon.
bool menuShot(const QDir& dir) {
    ViewRig rig;
    rig.start(tv::AC_LINE_OFFLINE, tv::batteryFlagFor(64, false), 64);
    run(rig, tv::AC_LINE_OFFLINE, 64, -1, 60, 7 * 60);
    rig.tray.activate(QSystemTrayIcon::Context);
    QMenu& menu = *rig.views.popupMenu();
    menu.adjustSize();
    return save(menu.grab().toImage(), dir, "tolvane-menu.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolvane-screenshots DIR\n");
        return 2;
    }
    tv::testing::application();
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "tolvane-screenshots: cannot make %s\n", argv[1]);
        return 1;
    }
    bool ok = batteryShot(dir) && mainsShot(dir) && criticalShot(dir) && menuShot(dir);
    return ok ? 0 : 1;
}
