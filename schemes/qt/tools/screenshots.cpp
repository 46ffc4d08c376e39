// vantrel-screenshots DIR: drives the real Vantrel window on the real powercfg and a
// private store, and saves what it shows: a scheme with its settings, the value box
// open on a time delay, the device list, and the throttle help box. Widgets are
// grabbed as drawn (Qt's offscreen platform does), then framed with a plain title bar
// so the caption can be read.

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "platform/qt/window_shot.h"
#include "schemes/qt/testing/vantrel_rig.h"

namespace {

using tv::testing::settle;
using tv::testing::VantrelRig;

// The framed window with another top-level (a popup, a box) drawn where it lies on the
// screen; the picture grows to hold it.
QImage withOverlay(QWidget& window, const QImage& overlay, QPoint globalTopLeft) {
    QImage base = tv::framedWindow(window);
    QPoint origin = window.mapToGlobal(QPoint(0, 0)) -
                    QPoint(tv::kShotBorder, tv::kShotTitleHeight + tv::kShotBorder);
    QPoint at = globalTopLeft - origin;
    QRect all = QRect(QPoint(0, 0), base.size()).united(QRect(at, overlay.size()));
    QImage out(all.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(-all.topLeft(), base);
    painter.drawImage(at - all.topLeft(), overlay);
    painter.end();
    return out;
}

bool save(const QImage& image, const QDir& dir, const QString& name) {
    return tv::saveShot(image, dir, name, "vantrel-screenshots");
}

bool schemeShot(const QDir& dir) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    rig.chooseSetting("Turn off monitor (DC)");
    return save(tv::framedWindow(rig.view()), dir, "vantrel-scheme.png");
}

bool valueBoxShot(const QDir& dir) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    rig.chooseSetting("System standby (AC)");
    QComboBox& box = rig.values();
    box.showPopup();
    settle(50);
    QWidget& popup = *box.view()->window();
    QImage list = popup.grab().toImage();
    return save(withOverlay(rig.view(), list, popup.mapToGlobal(QPoint(0, 0))), dir,
                "vantrel-value-box.png");
}

bool devicesShot(const QDir& dir) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    rig.click("cmdDevices");
    return save(tv::framedWindow(rig.view()), dir, "vantrel-devices.png");
}

// The box is the program's own modal box; it is grabbed while open, then closed.
bool helpShot(const QDir& dir) {
    VantrelRig rig(VantrelRig::Options{.qtDialogs = true});
    rig.open();
    rig.choose(rig.schemes(), "Max Battery");
    QImage shot;
    QTimer::singleShot(200, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // Down and to the right of the window's corner, so both captions show.
            QPoint corner = rig.view().mapToGlobal(QPoint(0, 0));
            shot = withOverlay(rig.view(), tv::framedWindow(*box), corner + QPoint(48, 36));
            box->accept();
        }
    });
    QWidget& picture = rig.widget("Image1");
    QPoint at = picture.rect().center();
    VantrelRig::sendButton(picture, QEvent::MouseButtonPress, at);
    VantrelRig::sendButton(picture, QEvent::MouseButtonRelease, at);
    settle();
    return !shot.isNull() && save(shot, dir, "vantrel-throttle-help.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-screenshots DIR\n");
        return 2;
    }
    tv::testing::application();
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "vantrel-screenshots: cannot make %s\n", argv[1]);
        return 1;
    }
    bool ok = schemeShot(dir) && valueBoxShot(dir) && devicesShot(dir) && helpShot(dir);
    return ok ? 0 : 1;
}
