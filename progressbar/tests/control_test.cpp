#include <gtest/gtest.h>

#include "bar_rig.h"
#include "runtime/numbers.h"

namespace tv::test {
namespace {

constexpr Color mark = 0x123456;

// A pixel that only a redraw paints over.
void putMark(BarRig& rig) {
    rig.gdi.setPixelV(rig.host.hDC(), 0, 12, mark);
}
bool redrawn(const BarRig& rig) {
    return rig.screen().at(0, 12) != mark;
}

TEST(ValueMapping, TheDefaultRangeReadsBackWhatWasWritten) {
    BarRig rig;
    for (int v = 0; v <= 100; ++v) {
        rig.bar->setValue(v);
        ASSERT_EQ(rig.bar->Percent(), v);
        ASSERT_EQ(rig.bar->Value(), v);
    }
}

TEST(ValueMapping, AboveHundredIsLoweredByTheRedrawAndNegativeKept) {
    BarRig rig;
    rig.bar->setValue(150);
    EXPECT_EQ(rig.bar->Percent(), 100);
    EXPECT_EQ(rig.bar->Value(), 100);
    rig.bar->setValue(0);
    Bitmap empty = rig.screen();
    rig.bar->setValue(-5);
    EXPECT_EQ(rig.bar->Percent(), -5);
    EXPECT_EQ(rig.bar->Value(), -5);
    EXPECT_EQ(rig.screen(), empty);
}

TEST(ValueMapping, MaxOf200RoundsHalvesToEven) {
    BarRig rig;
    rig.bar->setMax(200);
    rig.bar->setValue(100);
    EXPECT_EQ(rig.bar->Percent(), 50);
    EXPECT_EQ(rig.bar->Value(), 100);
    rig.bar->setValue(1);
    EXPECT_EQ(rig.bar->Percent(), 0);
    rig.bar->setValue(3);
    EXPECT_EQ(rig.bar->Percent(), 2);
}

TEST(ValueMapping, OverflowAndDivisionFailuresLeaveThePercentAndThePicture) {
    BarRig rig;
    rig.bar->setValue(57);
    putMark(rig);
    EXPECT_THROW(rig.bar->setValue(21474837), OverflowError);  // x 100 leaves 32 bits
    rig.bar->setMax(0);
    EXPECT_THROW(rig.bar->setValue(5), DivisionError);
    EXPECT_THROW(rig.bar->setValue(0), DivisionError);
    EXPECT_EQ(rig.bar->Percent(), 57);
    EXPECT_FALSE(redrawn(rig));
}

TEST(ValueMapping, ReadingFailsWhenTheResultLeaves32Bits) {
    BarRig rig;
    rig.bar->setMax(1);
    rig.bar->setValue(-21474836);
    EXPECT_EQ(rig.bar->Percent(), -2147483600);
    rig.bar->setMax(2147483647);
    EXPECT_THROW(rig.bar->Value(), OverflowError);
}

TEST(ValueMapping, AMinOtherThanZeroMapsTheRangeLinearly) {
    BarRig rig;
    rig.bar->setMin(50);
    rig.bar->setMax(150);
    rig.bar->setValue(100);
    EXPECT_EQ(rig.bar->Percent(), 50);
    EXPECT_EQ(rig.bar->Value(), 100);
    rig.bar->setValue(50);
    EXPECT_EQ(rig.bar->Percent(), 0);
    EXPECT_EQ(mapValueToPercent(75, 50, 150), 25);
    EXPECT_THROW(mapValueToPercent(5, 7, 7), DivisionError);
}

TEST(PropertyNotify, SettersNameThemselvesToTheHost) {
    BarRig rig;
    rig.bar->setValue(5);
    rig.bar->setColor(0xFF);
    rig.bar->setFont(std::make_shared<StdFont>(rig.gdi));
    rig.bar->setMin(0);
    rig.bar->setMax(100);
    rig.bar->setScrolling(1);
    rig.bar->setOrientation(0);
    rig.bar->setShowText(true);
    rig.bar->setBrushStyle(2);
    rig.bar->setImage(nullptr);
    EXPECT_EQ(rig.host.changedProperties(),
              (std::vector<std::string>{"Min", "Max", "Scrolling", "Orientation", "ShowText",
                                        "BrushStyle", "Image"}));
}

TEST(PropertyNotify, OnlyTheDrawnPropertiesRedraw) {
    BarRig rig;
    putMark(rig);
    rig.bar->setMin(0);
    rig.bar->setMax(100);
    rig.bar->setBrushStyle(3);
    rig.bar->setFont(std::make_shared<StdFont>(rig.gdi));
    EXPECT_FALSE(redrawn(rig));
    auto redraws = [&rig](auto change) {
        putMark(rig);
        change(*rig.bar);
        return redrawn(rig);
    };
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setValue(3); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setColor(0xFF); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setScrolling(1); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setOrientation(0); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setShowText(false); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.setImage(nullptr); }));
    EXPECT_TRUE(redraws([](XP_ProgressBar& b) { b.UserControl_Paint(); }));
    EXPECT_FALSE(redraws([](XP_ProgressBar& b) { b.UserControl_Resize(); }));
}

TEST(PropertyNotify, BadBrushStyleAndNoFontAreRefusedAtOnce) {
    BarRig rig;
    rig.bar->setScrolling(Hatched);
    rig.bar->setValue(100);
    Bitmap before = rig.screen();
    EXPECT_THROW(rig.bar->setBrushStyle(70000), OverflowError);
    EXPECT_THROW(rig.bar->setFont(nullptr), std::invalid_argument);
    rig.bar->UserControl_Paint();
    EXPECT_EQ(rig.screen(), before);
}

TEST(Lifecycle, CreationSetsUpTheHostAndDrawsTheFirstBlock) {
    BarRig rig;
    EXPECT_EQ(rig.host.backColor(), 0xFFFFFFu);
    EXPECT_TRUE(rig.host.scaleModePixels());
    EXPECT_EQ(rig.bar->Color(), 0xC56A31u);  // the table's highlight colour
    EXPECT_EQ(rig.bar->hwnd(), rig.host.hWnd());
    EXPECT_EQ(rig.bar->Percent(), 0);
    EXPECT_EQ(rig.bar->Scrolling(), 0);
    EXPECT_FALSE(rig.bar->ShowText());
    EXPECT_EQ(inkRow(rig.screen(), 12, 0, 17), "###.######.......");
}

TEST(Lifecycle, NothingIsLeftAliveAfterRedrawsAndTermination) {
    BarRig rig;
    rig.bar->setShowText(true);
    std::size_t objects = rig.gdi.liveObjectCount();
    for (int style = 0; style <= 10; ++style) {
        rig.bar->setScrolling(style);
        rig.bar->setValue(style * 9);
    }
    EXPECT_EQ(rig.gdi.liveObjectCount(), objects);
    rig.bar.reset();
    EXPECT_EQ(rig.gdi.liveObjectCount(), 0u);
    EXPECT_EQ(rig.gdi.liveDcCount(), 0u);
}

TEST(BackBuffer, TheWindowGetsOneBlockCopyPerRedraw) {
    BarRig rig;
    EXPECT_TRUE(rig.bar->Buffered());
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{385, 25}));
    rig.windowDraws = 0;
    rig.bar->setValue(50);
    EXPECT_EQ(rig.windowDraws, 1);
}

TEST(BackBuffer, ItOnlyGrowsAndIsRemadeAtTheNewSize) {
    BarRig rig;
    rig.host.resize(200, 10);
    rig.bar->UserControl_Resize();
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{385, 25}));
    rig.host.resize(400, 10);
    rig.bar->UserControl_Resize();
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{400, 10}));
    rig.host.resize(300, 30);
    rig.bar->UserControl_Resize();
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{300, 30}));
    EXPECT_EQ(rig.gdi.liveDcCount(), 1u);
}

TEST(BackBuffer, AZeroSizedControlDrawsOnItsOwnDc) {
    BarRig rig(0, 25);
    EXPECT_FALSE(rig.bar->Buffered());
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{0, 0}));
    EXPECT_EQ(rig.bar->hdc(), rig.host.hDC());
    rig.bar->setValue(50);  // nothing to draw on, nothing breaks
}

TEST(BackBuffer, EachFailedCreationFreesWhatWasMadeAndDrawsStraightOnTheWindow) {
    for (GdiCall call : {GdiCall::CreateDC, GdiCall::CreateCompatibleDC,
                         GdiCall::CreateCompatibleBitmap, GdiCall::SelectBitmap}) {
        BarRig rig(385, 25, false);
        rig.faults.failAlways(call);
        rig.create();
        EXPECT_FALSE(rig.bar->Buffered());
        EXPECT_EQ(rig.bar->hdc(), rig.host.hDC());
        EXPECT_EQ(rig.gdi.liveDcCount(), 0u);
        EXPECT_EQ(rig.gdi.liveObjectCount(), 0u);
        EXPECT_EQ(inkRow(rig.screen(), 12, 0, 17), "###.######.......");
    }
}

TEST(BackBuffer, AFailedGrowLeavesNoBufferAndTheWindowStillGetsTheBar) {
    BarRig rig;
    rig.faults.failAlways(GdiCall::CreateCompatibleBitmap);
    rig.host.resize(385, 30);
    rig.bar->UserControl_Resize();
    EXPECT_EQ(rig.bar->backBufferSize(), (Size{0, 0}));
    EXPECT_TRUE(rig.bar->Buffered());
    EXPECT_EQ(rig.bar->hdc(), rig.host.hDC());
    rig.bar->setValue(50);
    EXPECT_EQ(inkRow(rig.screen(), 12, 186, 198), "..######....");
}

TEST(BackBuffer, PDrawCopiesTheWholeBufferWhenGivenNoSize) {
    BarRig rig;
    rig.bar->setValue(100);
    Hwnd other = rig.gdi.createWindow(385, 25);
    rig.bar->pDraw(rig.gdi.getDC(other), 0, 0, 0, -1, 0, 0);
    EXPECT_EQ(*rig.gdi.windowSurface(other), rig.screen());
}

}  // namespace
}  // namespace tv::test
