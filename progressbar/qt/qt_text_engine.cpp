#include "progressbar/qt/qt_text_engine.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tv {

namespace {

// The bar's text comes from the platform's ANSI calls.
QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Color mix(Color over, Color under, int alpha) {
    auto channel = [alpha](int a, int b) { return (a * alpha + b * (255 - alpha) + 127) / 255; };
    return rgb(channel(redOf(over), redOf(under)), channel(greenOf(over), greenOf(under)),
               channel(blueOf(over), blueOf(under)));
}

}  // namespace

QFont QtTextEngine::toQFont(const FontInfo& font) {
    QFont q(QString::fromStdString(font.name));
    q.setStyleHint(QFont::SansSerif);
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setStrikeOut(font.strikethrough);
    q.setStyleStrategy(QFont::NoAntialias);
    return q;
}

const QFontMetrics& QtTextEngine::metricsFor(const FontInfo& font) {
    if (!cachedFont_ || !(cachedInfo_ == font)) {
        cachedInfo_ = font;
        cachedFont_ = toQFont(font);
        cachedMetrics_.emplace(*cachedFont_);
    }
    return *cachedMetrics_;
}

TextExtent QtTextEngine::measure(const FontInfo& font, std::string_view text) {
    const QFontMetrics& metrics = metricsFor(font);
    return {metrics.horizontalAdvance(toQString(text)), metrics.height()};
}

void QtTextEngine::draw(Bitmap& target, const FontInfo& font, std::string_view text, Point origin,
                        const Rect& clip, Color colour) {
    const QFontMetrics& metrics = metricsFor(font);
    QString line = toQString(text);
    int width = metrics.horizontalAdvance(line);
    int height = metrics.height();
    if (width <= 0 || height <= 0) {
        return;
    }
    QImage glyphs(width, height, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setFont(*cachedFont_);
        painter.setPen(Qt::white);
        painter.drawText(0, metrics.ascent(), line);
    }
    int x0 = std::max<int>(clip.left, origin.x);
    int y0 = std::max<int>(clip.top, origin.y);
    int x1 = static_cast<int>(std::min<std::int64_t>(clip.right, std::int64_t{origin.x} + width));
    int y1 = static_cast<int>(std::min<std::int64_t>(clip.bottom, std::int64_t{origin.y} + height));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int alpha = qAlpha(glyphs.pixel(x - origin.x, y - origin.y));
            if (alpha > 0) {
                target.at(x, y) = mix(colour, target.at(x, y), alpha);
            }
        }
    }
}

}  // namespace tv
