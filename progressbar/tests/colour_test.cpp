#include <gtest/gtest.h>

#include "bar_rig.h"

namespace tv::test {
namespace {

TEST(ColourArithmetic, LightenMovesTowardsWhiteAndTruncates) {
    EXPECT_EQ(XP_ProgressBar::LightenColor(0x000000, 100), 0x646464u);
    EXPECT_EQ(XP_ProgressBar::LightenColor(0xFF0000, 100), 0xFF6464u);
    EXPECT_EQ(XP_ProgressBar::LightenColor(0x2BD228, 150), 0xA7ECA6u);
    EXPECT_EQ(XP_ProgressBar::LightenColor(0x2BD228, 0), 0x2BD228u);
    EXPECT_EQ(XP_ProgressBar::LightenColor(0x2BD228, 255), 0xFFFFFFu);
}

TEST(ColourArithmetic, BlendWithBlackDarkensAndRoundsHalfToEven) {
    BarRig rig;
    EXPECT_EQ(rig.bar->BlendColors(0x2BD228, 0x000000, 200), 0x22A51Fu);
    EXPECT_EQ(rig.bar->BlendColors(0xC0C0C0, 0x000000, 255), 0xC0C0C0u);
    EXPECT_EQ(rig.bar->BlendColors(0xC0C0C0, 0x000000, 0), 0x000000u);
    // 0x8000000D is resolved before mixing.
    EXPECT_EQ(rig.bar->BlendColors(0x8000000D, 0x000000, 255), 0xC56A31u);
}

TEST(ColourArithmetic, TranslateReadsSystemColoursFromTheTable) {
    BarRig rig;
    EXPECT_EQ(rig.bar->TranslateColor(0x8000000D), 0xC56A31u);
    EXPECT_EQ(rig.bar->TranslateColor(0x0000FF), 0x0000FFu);
    EXPECT_EQ(rig.bar->TranslateColor(0x80000063), 0u);  // no such system colour
    rig.colours.set(COLOR_HIGHLIGHT, 0x123456);
    EXPECT_EQ(rig.bar->TranslateColor(0x8000000D), 0x123456u);
}

struct GradientRig : BarRig {
    explicit GradientRig(int width, int height) : window(gdi.createWindow(width, height)) {}
    Hdc dc() const { return gdi.getDC(window); }
    const Bitmap& canvas() const { return *gdi.windowSurface(window); }
    Hwnd window;
};

TEST(Gradient, HalfStepsRoundToEven) {
    GradientRig rig(4, 2);
    rig.bar->DrawGradient(0x000000, 0x000001, 0, 0, 2, 1, rig.dc(), true);
    EXPECT_EQ(rig.canvas().at(0, 0), 0u);
    EXPECT_EQ(rig.canvas().at(1, 0), 0u);  // 0.5
    EXPECT_EQ(rig.canvas().at(2, 0), 1u);
    EXPECT_EQ(rig.canvas().at(3, 0), 0xFFFFFFu);
}

TEST(Gradient, ColourRunsFromTheEndColourToTheStartColour) {
    GradientRig rig(8, 1);
    rig.bar->DrawGradient(0x000000, 0x0000FF, 0, 0, 5, 1, rig.dc(), true);
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(rig.canvas().at(i, 0), static_cast<Color>(51 * i)) << i;
    }
}

TEST(Gradient, VerticalLinesTakeX2AsStepsAndEndAtRowY2) {
    GradientRig rig(20, 24);
    rig.bar->DrawGradient(0x000000, 0x000000, 4, 3, 9, 20, rig.dc(), true);
    EXPECT_EQ(inkRow(rig.canvas(), 10, 0, 16), "....##########..");
    EXPECT_EQ(inkColumn(rig.canvas(), 4, 0, 22), "...#################..");
}

TEST(Gradient, HorizontalLinesTakeY2AsStepsAndEndAtColumnX2) {
    GradientRig rig(110, 12);
    rig.bar->DrawGradient(0x000000, 0x000000, 4, 3, 100, 6, rig.dc(), false);
    EXPECT_EQ(inkColumn(rig.canvas(), 50, 0, 12), "...#######..");
    EXPECT_EQ(inkRow(rig.canvas(), 9, 0, 6) + inkRow(rig.canvas(), 9, 97, 102), "....#####..");
}

TEST(Gradient, ZeroStepsDrawOneLineNegativeStepsNone) {
    GradientRig rig(6, 4);
    rig.bar->DrawGradient(0x0000FF, 0x00FF00, 1, 0, 0, 4, rig.dc(), true);
    rig.bar->DrawGradient(0x0000FF, 0x00FF00, 3, 0, -1, 4, rig.dc(), true);
    EXPECT_EQ(rowPicture(rig.canvas(), 2, 0, 6, {{0x0000FF, 'r'}, {0xFFFFFF, '.'}}), ".r....");
}

TEST(Gradient, HorizontalLinesRunLeftwardWhenX2LiesLeftOfX) {
    GradientRig rig(12, 2);
    rig.bar->DrawGradient(0x000000, 0x000000, 9, 0, 3, 0, rig.dc(), false);
    EXPECT_EQ(inkRow(rig.canvas(), 0, 0, 12), "....######..");
}

TEST(Gradient, LinesLeaveNoObjectsBehindAndRestoreThePen) {
    GradientRig rig(50, 10);
    std::size_t before = rig.gdi.liveObjectCount();
    GdiObj pen = rig.gdi.getStockObject(BLACK_PEN);
    rig.bar->DrawGradient(0x000000, 0xFFFFFF, 0, 0, 40, 10, rig.dc(), true);
    EXPECT_EQ(rig.gdi.liveObjectCount(), before);
    EXPECT_EQ(rig.gdi.selectObject(rig.dc(), pen), pen);
}

}  // namespace
}  // namespace tv::test
