#include <gtest/gtest.h>

#include "bar_rig.h"

namespace tv::test {
namespace {

// Runs of ink in a row: blocks of the fill.
int countBlocks(const std::string& ink) {
    int blocks = 0;
    for (std::size_t i = 0; i < ink.size(); ++i) {
        blocks += ink[i] == '#' && (i == 0 || ink[i - 1] == '.') ? 1 : 0;
    }
    return blocks;
}

struct SegmentCase {
    int percent;
    int barRight;
    int blocks;       // in columns 4-382
    const char* end;  // row 12, columns 366-384
};

TEST(SegmentedBlocks, BlocksAndGapsAlongTheMonitorsBar) {
    const SegmentCase cases[] = {
        {0, 12, 1, ".................##"},     {1, 12, 1, ".................##"},
        {2, 12, 1, ".................##"},     {97, 379, 47, "####..######.....##"},
        {98, 379, 47, "####..######.....##"},  {99, 387, 48, "####..######..#####"},
        {100, 387, 48, "####..######..#####"},
    };
    for (const SegmentCase& c : cases) {
        BarRig rig;
        rig.bar->setValue(c.percent);
        EXPECT_EQ(rig.bar->BarRect().right, c.barRight) << c.percent;
        EXPECT_EQ(inkRow(rig.screen(), 12, 0, 20),
                  c.percent <= 2 ? "###.######.........." : "###.######..######..")
            << c.percent;
        EXPECT_EQ(countBlocks(inkRow(rig.screen(), 12, 4, 383)), c.blocks) << c.percent;
        EXPECT_EQ(inkRow(rig.screen(), 12, 366, 385), c.end) << c.percent;
    }
}

TEST(SegmentedBlocks, HalfFullEndsWithTheTwentyFourthBlock) {
    BarRig rig;
    rig.bar->setValue(50);
    EXPECT_EQ(rig.bar->BarRect().right, 195);
    EXPECT_EQ(inkRow(rig.screen(), 12, 180, 200), "######..######......");
    EXPECT_EQ(countBlocks(inkRow(rig.screen(), 12, 4, 383)), 24);
}

TEST(SegmentedBlocks, ValuesAboveHundredDrawAsHundred) {
    BarRig full, over;
    full.bar->setValue(100);
    over.bar->setValue(120);
    EXPECT_EQ(over.bar->Percent(), 100);
    EXPECT_EQ(over.screen(), full.screen());
}

TEST(SegmentedBlocks, TheFillIsLightAtItsEdgesAndSolidInTheMiddle) {
    BarRig rig;
    Color c = rig.bar->Color();
    Legend legend{{0x686868, 'f'}, {0xBEBEBE, 'g'}, {0xEFEFEF, 'e'},
                  {0xFFFFFF, '.'}, {c, 'C'},        {XP_ProgressBar::LightenColor(c, 150), 'L'}};
    EXPECT_EQ(columnPicture(rig.screen(), 6, 0, 25, legend), "fgeL????CCCCCCCC?????L.ef");
}

TEST(SmoothFill, EndsOnTheTwoPixelGridWithoutGaps) {
    BarRig rig;
    rig.bar->setScrolling(Smooth);
    rig.bar->setValue(50);
    EXPECT_EQ(rig.bar->BarRect().right, 197);
    EXPECT_EQ(inkRow(rig.screen(), 12, 180, 200), "#################...");
    EXPECT_EQ(countBlocks(inkRow(rig.screen(), 12, 4, 383)), 1);
}

TEST(SmoothFill, AnyUnknownStyleDrawsAsSmoothWithItsText) {
    BarRig smooth, unknown;
    for (BarRig* rig : {&smooth, &unknown}) {
        rig->bar->setShowText(true);
        rig->bar->setValue(50);
    }
    smooth.bar->setScrolling(Smooth);
    unknown.bar->setScrolling(17);
    EXPECT_EQ(unknown.screen(), smooth.screen());
}

TEST(SearchingBlocks, ThreeBlocksTrailTheFillByHalfAPixelPerPoint) {
    BarRig rig;
    rig.bar->setScrolling(Searching);
    rig.bar->setValue(50);
    EXPECT_EQ(inkRow(rig.screen(), 12, 170, 210), "....##########..##########..##########..");
    Color c = rig.bar->Color();
    const int firstColumns[] = {174, 186, 198};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rig.screen().at(firstColumns[k], 12),
                  XP_ProgressBar::LightenColor(c, 220 - 40 * k));
        EXPECT_EQ(rig.screen().at(firstColumns[k] + 9, 12),
                  XP_ProgressBar::LightenColor(c, 200 - 40 * k));
    }
    EXPECT_EQ(inkColumn(rig.screen(), 174, 0, 25), std::string(25, '#'));
    // At 100 % the blocks start at the end of the fill, past the right edge here.
    rig.bar->setValue(100);
    EXPECT_EQ(inkRow(rig.screen(), 12, 3, 383), std::string(380, '.'));
}

TEST(VerticalBar, HalfFullFillsUpwardsInBlocks) {
    BarRig rig(25, 100);
    rig.bar->setOrientation(1);
    rig.bar->setValue(50);
    EXPECT_EQ(rig.bar->BarRect().top, 52);
    EXPECT_EQ(inkColumn(rig.screen(), 12, 48, 98),
              "....######..######..######..######..######..######");
    EXPECT_EQ(inkRow(rig.screen(), 55, 0, 25), "###.##################.##");
    EXPECT_EQ(inkRow(rig.screen(), 58, 0, 25), "###....................##");
}

TEST(VerticalBar, EmptyAtZeroWithNoGapPainted) {
    BarRig rig(25, 100);
    rig.bar->setOrientation(1);
    EXPECT_EQ(rig.bar->BarRect().top, 100);
    EXPECT_EQ(inkColumn(rig.screen(), 12, 3, 98), std::string(95, '.'));
}

TEST(VerticalBar, SearchingBlocksSitAtTheTopOfTheFill) {
    BarRig rig(25, 100);
    rig.bar->setOrientation(1);
    rig.bar->setScrolling(Searching);
    rig.bar->setValue(50);
    EXPECT_EQ(inkColumn(rig.screen(), 10, 48, 88), "..##########..##########..##########....");
    EXPECT_EQ(inkRow(rig.screen(), 50, 0, 25), std::string(25, '#'));
    Color c = rig.bar->Color();
    EXPECT_EQ(rig.screen().at(3, 50), XP_ProgressBar::LightenColor(c, 220));
    EXPECT_EQ(rig.screen().at(10, 83), XP_ProgressBar::LightenColor(c, 120));
}

TEST(RoundedFrame, CornerPixelsFollowTheirTable) {
    BarRig rig;
    const Legend legend{{0xFFFFFF, '.'}, {0xA6ABAC, 'a'}, {0xA7ABAC, 'b'}, {0x7D7E7F, 'k'},
                        {0x777777, 'm'}, {0xBEBEBE, 'g'}, {0x686868, 'f'}, {0xEFEFEF, 'e'}};
    auto corner = [&](int x0, int y0) {
        std::string s;
        for (int y = y0; y < y0 + 4; ++y) {
            s += rowPicture(rig.screen(), y, x0, x0 + 4, legend) + (y < y0 + 3 ? "|" : "");
        }
        return s;
    };
    EXPECT_EQ(corner(0, 0), ".bkf|amgg|kgge|fge.");
    EXPECT_EQ(corner(0, 21), "fge.|kge.|bmee|.akf");
    EXPECT_EQ(corner(381, 0), "fff.|ggfg|eegk|..ef");
    EXPECT_EQ(corner(381, 21), "..ef|..ek|eemg|fkg.");
}

}  // namespace
}  // namespace tv::test
