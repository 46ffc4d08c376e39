// Renders the artwork to PNG files through the same loader the programs use.
//   tv_art_render hicolor DIR SIZE... -- NAME...   DIR/NxN/apps/name.png for each size
//   tv_art_render sheet FILE.png                    every picture and the cursor at the
//                                                   common sizes on light and dark ground
#include "resources/resources.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fputs(
        "usage: tv_art_render hicolor DIR SIZE... -- NAME...\n"
        "       tv_art_render sheet FILE.png\n",
        stderr);
    return 2;
}

int writeHicolor(const QStringList& args) {
    const qsizetype split = args.indexOf(QStringLiteral("--"));
    if (args.size() < 2 || split < 2 || split == args.size() - 1) {
        return usage();
    }
    const QString dir = args[0];
    for (qsizetype s = 1; s < split; ++s) {
        const int size = args[s].toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        QDir().mkpath(folder);
        for (qsizetype n = split + 1; n < args.size(); ++n) {
            const QPixmap picture = tv::loadPicture(args[n].toStdString(), size);
            const QString file = QStringLiteral("%1/%2.png").arg(folder, args[n].toLower());
            if (picture.isNull() || !picture.save(file)) {
                std::fprintf(stderr, "tv_art_render: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}

int writeSheet(const QString& file) {
    const std::vector<int> sizes{16, 22, 24, 32, 48, 64};
    const QList<QColor> grounds{QColor(0xf0, 0xf0, 0xf0), QColor(0x2b, 0x2e, 0x33)};
    constexpr int kLabelWidth = 92;
    constexpr int kCell = 72;
    constexpr int kRow = 72;
    constexpr int kHeader = 22;

    QStringList rows = tv::resourceNames();
    rows.append(QStringLiteral("cursor 101"));
    const int groundWidth = static_cast<int>(sizes.size()) * kCell;
    QImage sheet(kLabelWidth + groundWidth * grounds.size(), kHeader + kRow * rows.size(),
                 QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    for (qsizetype g = 0; g < grounds.size(); ++g) {
        const int left = kLabelWidth + static_cast<int>(g) * groundWidth;
        painter.fillRect(left, 0, groundWidth, sheet.height(), grounds[g]);
        painter.setPen(g == 0 ? Qt::black : Qt::white);
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            painter.drawText(QRect(left + static_cast<int>(s) * kCell, 0, kCell, kHeader),
                             Qt::AlignCenter, QString::number(sizes[s]));
        }
    }
    painter.setPen(Qt::black);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const int top = kHeader + static_cast<int>(r) * kRow;
        painter.drawText(QRect(6, top, kLabelWidth - 6, kRow), Qt::AlignVCenter, rows[r]);
        for (qsizetype g = 0; g < grounds.size(); ++g) {
            for (std::size_t s = 0; s < sizes.size(); ++s) {
                const int size = sizes[s];
                const QPixmap picture = r < rows.size() - 1
                                            ? tv::loadPicture(rows[r].toStdString(), size)
                                        : size == 32 ? tv::loadCursor(tv::kHandCursor, 1.0).pixmap()
                                                     : QPixmap();
                const int x = kLabelWidth + static_cast<int>(g * sizes.size() + s) * kCell;
                painter.drawPixmap(x + (kCell - size) / 2, top + (kRow - size) / 2, picture);
            }
        }
    }
    painter.end();
    if (!sheet.save(file)) {
        std::fprintf(stderr, "tv_art_render: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        return usage();
    }
    const QString mode = args.takeFirst();
    if (mode == QStringLiteral("hicolor")) {
        return writeHicolor(args);
    }
    if (mode == QStringLiteral("sheet") && args.size() == 1) {
        return writeSheet(args[0]);
    }
    return usage();
}
