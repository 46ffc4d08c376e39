#include <gtest/gtest.h>

#include <QApplication>
#include <set>

#include "platform/qt/testing/application.h"
#include "progressbar/offscreen_host.h"
#include "progressbar/qt/palette_colours.h"
#include "progressbar/qt/progressbar_widget.h"
#include "progressbar/saved_form.h"

namespace tv {
namespace {

// Widgets and fonts need the application before the first test.
[[maybe_unused]] QApplication& app = testing::application();

// What the same bar looks like drawn on the in-memory raster.
QImage rasterPicture(int percent) {
    SysColorTable colours = sysColorsFromPalette(QApplication::palette());
    BlockTextEngine text;
    Gdi gdi(colours, text);
    OffscreenHost host(gdi, 385, 25);
    auto bar = createProgressBar(host, gdi, xpProgressBar1Form());
    bar->setValue(percent);
    QImage image(385, 25, QImage::Format_RGB32);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 385; ++x) {
            Color c = host.surface().at(x, y);
            image.setPixel(x, y, qRgb(redOf(c), greenOf(c), blueOf(c)));
        }
    }
    return image;
}

TEST(ProgressBarWidget, ShowsTheMonitorsBarAsTheRasterDrewIt) {
    ProgressBarWidget widget(xpProgressBar1Form());
    EXPECT_EQ(widget.size(), QSize(385, 25));
    widget.show();
    widget.bar().setValue(50);
    QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot, rasterPicture(50));
    EXPECT_EQ(shot.pixel(6, 12), qRgb(0x33, 0x5E, 0xA8));  // Color &HA85E33
}

TEST(ProgressBarWidget, ANewValueReachesTheSurfaceBeforeThePaint) {
    ProgressBarWidget widget(xpProgressBar1Form());
    widget.show();
    widget.bar().setValue(100);
    EXPECT_EQ(widget.frame().convertToFormat(QImage::Format_RGB32), rasterPicture(100));
}

TEST(ProgressBarWidget, ResizeGrowsTheBackBufferAndNamesReachTheSignal) {
    ProgressBarWidget widget;
    QStringList names;
    QObject::connect(&widget, &ProgressBarWidget::barPropertyChanged,
                     [&names](const QString& name) { names << name; });
    widget.show();
    widget.resize(500, 30);
    EXPECT_EQ(widget.bar().backBufferSize(), (Size{500, 30}));
    widget.bar().setScrolling(Glossy);
    EXPECT_EQ(names, QStringList{"Scrolling"});
}

TEST(ProgressBarWidget, TheHighlightColourComesFromThePalette) {
    QPalette original = QApplication::palette();
    QPalette palette = original;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    EXPECT_EQ(sysColorsFromPalette(palette).get(COLOR_HIGHLIGHT), rgb(1, 2, 3));
    QApplication::setPalette(palette);
    ProgressBarWidget widget;
    EXPECT_EQ(widget.bar().Color(), rgb(1, 2, 3));
    QApplication::setPalette(original);
}

TEST(QtText, RealGlyphsInExactlyTheTextColourInsideTheMeasuredBox) {
    QtTextEngine engine;
    FontInfo font;
    TextExtent extent = engine.measure(font, "57 %");
    EXPECT_GT(extent.width, 10);
    EXPECT_GE(extent.height, 10);
    EXPECT_LE(extent.height, 20);
    Bitmap canvas(60, 30, 0xFFFFFF);
    engine.draw(canvas, font, "57 %", {5, 5}, {0, 0, 60, 30}, 0x0000FF);
    std::set<Color> colours;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            Color c = canvas.at(x, y);
            colours.insert(c);
            if (c != 0xFFFFFF) {
                EXPECT_TRUE(x >= 5 && x < 5 + extent.width && y >= 5 && y < 5 + extent.height)
                    << x << "," << y;
            }
        }
    }
    EXPECT_EQ(colours, (std::set<Color>{0x0000FF, 0xFFFFFF}));
}

}  // namespace
}  // namespace tv
