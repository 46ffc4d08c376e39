#include "platform/qt/window_shot.h"

#include <QPainter>
#include <cstdio>

namespace tv {

QImage framedWindow(QWidget& window) {
    const QColor titleColour(38, 74, 140);
    QPixmap inside = window.grab();
    // Drawn in the window's own (logical) pixels on a canvas of the screen's density, so
    // a shot at a scale of 2 has twice the pixels, not a small window in a corner.
    const qreal scale = inside.devicePixelRatio();
    const QSize logical = inside.deviceIndependentSize().toSize();
    QSize size(logical.width() + 2 * kShotBorder,
               logical.height() + kShotTitleHeight + 2 * kShotBorder);
    QImage out(size * scale, QImage::Format_RGB32);
    out.setDevicePixelRatio(scale);
    out.fill(titleColour);
    QPainter painter(&out);
    painter.drawPixmap(kShotBorder, kShotTitleHeight + kShotBorder, inside);
    window.windowIcon().paint(&painter, QRect(4, 3, 16, 16));
    QFont font = window.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(26, 0, size.width() - 30, kShotTitleHeight), Qt::AlignVCenter,
                     window.windowTitle());
    painter.end();
    return out;
}

bool saveShot(const QImage& image, const QDir& dir, const QString& name, const char* tool) {
    QString path = dir.filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "%s: cannot write %s\n", tool, qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace tv
