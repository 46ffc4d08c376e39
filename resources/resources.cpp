#include "resources/resources.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

// The compiled-in resources live in a static library, whose registration object the
// linker would drop because nothing refers to it; registering by hand keeps it.
static void registerCompiledArt() {
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(resources); });
}

namespace tv {
namespace {

const QString kArtFolder = QStringLiteral(":/tv/art");
const QString kHandCursorFile = QStringLiteral(":/tv/cursors/hand-32.svg");
constexpr QPoint kHandHotSpot{6, 0};
constexpr int kCursorSize = 32;

// One drawing of a piece of artwork, made on a grid of size x size pixels.
struct Design {
    int size = 0;
    QString file;
};

// All drawings of one name, smallest grid first.
struct Art {
    QString name;
    std::vector<Design> designs;
};

// Files are named "<name>-<grid size>.svg"; the names come from the files, so adding a
// drawing for another size needs no code.
const std::map<QString, Art>& catalogue() {
    static const std::map<QString, Art> arts = [] {
        registerCompiledArt();
        std::map<QString, Art> found;
        QDirIterator it(kArtFolder, {QStringLiteral("*.svg")}, QDir::Files);
        while (it.hasNext()) {
            const QString base = QFileInfo(it.next()).completeBaseName();
            const qsizetype dash = base.lastIndexOf(u'-');
            bool sized = false;
            const int size = dash > 0 ? base.mid(dash + 1).toInt(&sized) : 0;
            if (!sized || size <= 0) {
                continue;
            }
            const QString name = base.left(dash).toUpper();
            Art& art = found[name];
            art.name = name;
            art.designs.push_back({size, it.filePath()});
        }
        for (auto& [name, art] : found) {
            std::sort(art.designs.begin(), art.designs.end(),
                      [](const Design& a, const Design& b) { return a.size < b.size; });
        }
        return found;
    }();
    return arts;
}

const Art* findArt(std::string_view name) {
    const QString key =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toUpper();
    const auto& arts = catalogue();
    const auto it = arts.find(key);
    return it == arts.end() ? nullptr : &it->second;
}

QImage renderSvg(const QString& file, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    return image;
}

bool outerRingClear(const QImage& image) {
    const int last = image.width() - 1;
    for (int i = 0; i <= last; ++i) {
        if (qAlpha(image.pixel(i, 0)) || qAlpha(image.pixel(i, last)) ||
            qAlpha(image.pixel(0, i)) || qAlpha(image.pixel(last, i))) {
            return false;
        }
    }
    return true;
}

// Edges drawn on a design's pixel grid stay sharp only at whole-number scales, so the
// choice of drawing goes: one made for this size or a whole fraction of it (but the
// simplified 16-px cuts are never enlarged); else one up to 2 px larger drawn 1:1
// without its clear outer ring (the 24-px designs keep one for the 22-px panels); else
// the nearest larger one scaled down.
QImage renderArt(const Art& art, int pixels) {
    constexpr int kLargestCut = 16;
    const auto& designs = art.designs;
    for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
        if (it->size == pixels || (it->size > kLargestCut && pixels % it->size == 0)) {
            return renderSvg(it->file, pixels);
        }
    }
    for (const Design& design : designs) {
        if (design.size > pixels && design.size - pixels <= 2) {
            const QImage full = renderSvg(design.file, design.size);
            if (outerRingClear(full)) {
                const int offset = (design.size - pixels) / 2;
                return full.copy(offset, offset, pixels, pixels);
            }
        }
    }
    const auto larger = std::find_if(designs.begin(), designs.end(),
                                     [pixels](const Design& d) { return d.size > pixels; });
    return renderSvg(larger != designs.end() ? larger->file : designs.back().file, pixels);
}

// Greyed and faded, for menu entries and buttons that are switched off.
QImage disabledLook(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
        }
    }
    return image;
}

QPixmap artPixmap(const Art& art, int pixels, QIcon::Mode mode) {
    const bool disabled = mode == QIcon::Disabled;
    const QString key = QStringLiteral("tv-art/%1/%2/%3").arg(art.name).arg(pixels).arg(disabled);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        return pixmap;
    }
    QImage image = renderArt(art, pixels);
    pixmap = QPixmap::fromImage(disabled ? disabledLook(std::move(image)) : std::move(image));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

class ArtIconEngine final : public QIconEngine {
  public:
    explicit ArtIconEngine(const Art* art) : art_(art) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const int side = std::min(rect.width(), rect.height());
        QPixmap pixmap = scaledPixmap(QSize(side, side) * ratio, mode, state, ratio);
        pixmap.setDevicePixelRatio(ratio);
        const QRect target(rect.x() + (rect.width() - side) / 2,
                           rect.y() + (rect.height() - side) / 2, side, side);
        painter->drawPixmap(target, pixmap);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return side > 0 ? artPixmap(*art_, side, mode) : QPixmap();
    }

    // QIcon hands over the size in device pixels already.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal) override {
        return pixmap(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    }

    QString key() const override { return QStringLiteral("tv-art"); }
    QIconEngine* clone() const override { return new ArtIconEngine(art_); }
    bool isNull() override { return false; }

  private:
    const Art* art_;
};

}  // namespace

QStringList resourceNames() {
    QStringList names;
    for (const auto& [name, art] : catalogue()) {
        names.append(name);
    }
    return names;
}

QIcon loadIcon(std::string_view name) {
    const Art* art = findArt(name);
    return art ? QIcon(new ArtIconEngine(art)) : QIcon();
}

QPixmap loadPicture(std::string_view name, int size, qreal devicePixelRatio) {
    const Art* art = findArt(name);
    if (!art || size < 1) {
        return {};
    }
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap = artPixmap(*art, qRound(size * ratio), QIcon::Normal);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QCursor loadCursor(int id) {
    return loadCursor(id, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QCursor loadCursor(int id, qreal devicePixelRatio) {
    if (id != kHandCursor) {
        return QCursor(Qt::ArrowCursor);
    }
    registerCompiledArt();
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap = QPixmap::fromImage(renderSvg(kHandCursorFile, qRound(kCursorSize * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    // The hot spot is given in logical pixels; Qt scales it with the pixmap's ratio.
    return QCursor(pixmap, kHandHotSpot.x(), kHandHotSpot.y());
}

}  // namespace tv
