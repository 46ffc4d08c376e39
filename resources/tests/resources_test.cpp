#include "resources/resources.h"

#include "platform/qt/testing/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <string>

namespace {

// Pixmaps need a GUI application; one for the whole test program.
[[maybe_unused]] QApplication& kGui = tv::testing::application();

// The names the two programs ask for.
const QStringList kProgramNames{"OK",        "PREF",    "1",       "WARNING", "DELETE", "ADD",
                                "CONNECTED", "TOLVANE", "VANTREL", "MAINS",   "ALERT",  "INFO"};
const int kSizes[] = {16, 22, 24, 32, 48, 64};

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0;
        }
    }
    return count;
}

TEST(Artwork, EveryProgramNameIsKnown) {
    const QStringList known = tv::resourceNames();
    for (const QString& name : kProgramNames) {
        EXPECT_TRUE(known.contains(name)) << name.toStdString();
    }
}

// A drawing that fails to parse still gives a pixmap of the right size, only empty, so
// each one must show some ink.
TEST(Artwork, EveryNameDrawsAtEverySize) {
    for (const QString& name : tv::resourceNames()) {
        const std::string key = name.toStdString();
        const QIcon icon = tv::loadIcon(key);
        ASSERT_FALSE(icon.isNull()) << key;
        for (int size : kSizes) {
            SCOPED_TRACE(key + " at " + std::to_string(size));
            const QPixmap picture = tv::loadPicture(key, size);
            ASSERT_FALSE(picture.isNull());
            EXPECT_EQ(picture.size(), QSize(size, size));
            EXPECT_GT(opaquePixels(picture.toImage()), size * size / 8);

            const QPixmap fromIcon = icon.pixmap(QSize(size, size), 1.0);
            ASSERT_FALSE(fromIcon.isNull());
            EXPECT_EQ(fromIcon.size(), QSize(size, size));
            EXPECT_EQ(fromIcon.toImage(), picture.toImage());
        }
    }
}

TEST(Artwork, NamesMatchWithoutCase) {
    EXPECT_FALSE(tv::loadIcon("ok").isNull());
    EXPECT_FALSE(tv::loadIcon("Warning").isNull());
    EXPECT_FALSE(tv::loadIcon("connected").isNull());
    EXPECT_EQ(tv::loadPicture("Warning", 24).toImage(), tv::loadPicture("WARNING", 24).toImage());
    EXPECT_EQ(tv::loadPicture("pReF", 16).toImage(), tv::loadPicture("PREF", 16).toImage());
}

TEST(Artwork, UnknownNamesGiveNothing) {
    EXPECT_TRUE(tv::loadIcon("").isNull());
    EXPECT_TRUE(tv::loadIcon("NOSUCH").isNull());
    EXPECT_TRUE(tv::loadIcon("OK ").isNull());
    EXPECT_TRUE(tv::loadPicture("NOSUCH", 32).isNull());
    EXPECT_TRUE(tv::loadPicture("OK", 0).isNull());
}

// Copy-and-paste slips between the rating drawings would leave two ratings looking
// alike in the notification area.
TEST(Artwork, RatingIconsDifferAtTraySizes) {
    const QStringList ratings{"OK", "PREF", "1", "WARNING", "DELETE"};
    for (int size : {16, 22, 24}) {
        for (qsizetype i = 0; i < ratings.size(); ++i) {
            for (qsizetype j = i + 1; j < ratings.size(); ++j) {
                EXPECT_NE(tv::loadPicture(ratings[i].toStdString(), size).toImage(),
                          tv::loadPicture(ratings[j].toStdString(), size).toImage())
                    << ratings[i].toStdString() << " and " << ratings[j].toStdString() << " at "
                    << size;
            }
        }
    }
}

// Panels draw tray icons at 22 px; the 24-px drawings keep a clear outer ring so that
// size is the same pixels without the ring rather than a blurred scale-down.
TEST(Artwork, TrayIconsStaySharpAt22) {
    for (const char* name :
         {"OK", "PREF", "1", "WARNING", "DELETE", "ADD", "CONNECTED", "TOLVANE", "VANTREL"}) {
        const QImage at24 = tv::loadPicture(name, 24).toImage();
        EXPECT_EQ(tv::loadPicture(name, 22).toImage(), at24.copy(1, 1, 22, 22)) << name;
    }
}

// On a scaled screen the picture keeps its logical size and gains device pixels.
TEST(Artwork, HighDensityScreensGetMorePixels) {
    const QPixmap picture = tv::loadPicture("OK", 16, 2.0);
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(16, 16));

    const QPixmap fromIcon = tv::loadIcon("OK").pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(fromIcon.size(), QSize(32, 32));
    EXPECT_EQ(fromIcon.devicePixelRatio(), 2.0);

    QImage canvas(48, 48, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2.0);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    tv::loadIcon("OK").paint(&painter, QRect(0, 0, 24, 24));
    painter.end();
    EXPECT_EQ(canvas.copy(0, 0, 48, 48), tv::loadPicture("OK", 48).toImage().convertToFormat(
                                             QImage::Format_ARGB32_Premultiplied));
}

TEST(Artwork, DisabledIconsAreGrey) {
    const QImage image =
        tv::loadIcon("DELETE").pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage();
    ASSERT_FALSE(image.isNull());
    bool inked = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 0) {
                inked = true;
                EXPECT_EQ(c.red(), c.green());
                EXPECT_EQ(c.green(), c.blue());
            }
        }
    }
    EXPECT_TRUE(inked);
}

TEST(HandCursor, HotSpotIsTheFingertip) {
    const QCursor cursor = tv::loadCursor(tv::kHandCursor, 1.0);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(6, 0));
    const QImage image = cursor.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(6, 0)), 255);
    // Black outline, white fill: nothing in between.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) {
                continue;
            }
            EXPECT_EQ(qAlpha(p), 255) << x << "," << y;
            EXPECT_TRUE((p & 0xffffffu) == 0 || (p & 0xffffffu) == 0xffffffu) << x << "," << y;
        }
    }
}

TEST(HandCursor, ScaledScreensKeepTheHotSpot) {
    const QCursor cursor = tv::loadCursor(tv::kHandCursor, 2.0);
    EXPECT_EQ(cursor.hotSpot(), QPoint(6, 0));
    const QPixmap pixmap = cursor.pixmap();
    EXPECT_EQ(pixmap.size(), QSize(64, 64));
    const QImage image = pixmap.toImage();
    EXPECT_EQ(qAlpha(image.pixel(12, 0)), 255);
    EXPECT_EQ(qAlpha(image.pixel(13, 1)), 255);
}

TEST(HandCursor, UnknownNumbersGiveTheArrow) {
    EXPECT_EQ(tv::loadCursor(100, 1.0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(tv::loadCursor(0).shape(), Qt::ArrowCursor);
}

}  // namespace
