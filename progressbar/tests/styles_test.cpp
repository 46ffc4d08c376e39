#include <gtest/gtest.h>

#include "bar_rig.h"

namespace tv::test {
namespace {

constexpr Color silver = 0xC0C0C0;
constexpr Color white = 0xFFFFFF;

BarRig& styled(BarRig& rig, BarStyle style, int percent) {
    rig.bar->setScrolling(style);
    rig.bar->setValue(percent);
    return rig;
}

TEST(FlatBar, HalfFullRoundsItsEndHalfToEven) {
    BarRig rig;
    styled(rig, Flat, 50);
    EXPECT_EQ(rig.bar->BarRect(), (Rect{1, 1, 192, 24}));
    Color c = rig.bar->Color();
    Legend legend{{XP_ProgressBar::LightenColor(c, 100), 'F'},
                  {XP_ProgressBar::LightenColor(c, 180), 'l'},
                  {white, '.'}};
    EXPECT_EQ(
        rowPicture(rig.screen(), 12, 0, 3, legend) + rowPicture(rig.screen(), 12, 188, 195, legend),
        "Fllllll...");
    EXPECT_EQ(columnPicture(rig.screen(), 100, 0, 25, legend), "F" + std::string(23, 'l') + "F");
}

TEST(ShortFills, ShadedHatchedAndPictureStopAt381) {
    BarRig shaded, hatched, picture;
    styled(shaded, Shaded, 100);
    styled(hatched, Hatched, 100);
    picture.bar->setImage(std::make_shared<StdPicture>(picture.gdi, Bitmap(1, 1, 0x000000)));
    styled(picture, Picture, 100);
    for (BarRig* rig : {&shaded, &hatched, &picture}) {
        EXPECT_EQ(rig->bar->BarRect().right, 381);
    }
    Color c = shaded.bar->Color();
    EXPECT_EQ(shaded.screen().at(381, 12), XP_ProgressBar::LightenColor(c, 25));  // the end line
    EXPECT_EQ(shaded.screen().at(380, 22), c);                                    // last fill row
    EXPECT_EQ(inkRow(hatched.screen(), 3, 375, 385), "######..##");
    EXPECT_EQ(inkRow(picture.screen(), 12, 375, 385), "########..");  // PatBlt's width: to w + 1
}

TEST(EtchedBar, FullFillsColumns2To383InsideTheEtchedEdge) {
    BarRig rig;
    styled(rig, Etched, 100);
    EXPECT_EQ(inkRow(rig.screen(), 12, 0, 6) + inkRow(rig.screen(), 12, 378, 385), "#.##########.");
    EXPECT_EQ(inkColumn(rig.screen(), 2, 0, 25), "#." + std::string(20, '#') + ".#.");
    Color c = rig.bar->Color();
    EXPECT_EQ(rig.screen().at(2, 12), XP_ProgressBar::LightenColor(c, 140));
    EXPECT_EQ(rig.screen().at(383, 12), XP_ProgressBar::LightenColor(c, 200));
}

TEST(DarkBar, GradientOutOfBlackInsideADarkenedFrame) {
    BarRig rig;
    styled(rig, Dark, 0);
    Color frame = rig.bar->BlendColors(rig.bar->Color(), 0, 200);
    Legend legend{{frame, 'F'}, {0x000000, 'k'}};
    EXPECT_EQ(rowPicture(rig.screen(), 12, 0, 385, legend), "F" + std::string(383, 'k') + "F");
    rig.bar->setValue(50);  // n = 190: columns 2-192
    Color end = XP_ProgressBar::LightenColor(rig.bar->BlendColors(rig.bar->Color(), 0, 100), 10);
    EXPECT_EQ(rig.screen().at(192, 12), end);
    EXPECT_EQ(rig.screen().at(193, 12), 0u);
    EXPECT_EQ(columnPicture(rig.screen(), 100, 0, 25, legend).substr(0, 3), "Fk?");
}

TEST(HatchedBar, AnUnknownHatchCodeDrawsOnlyTheEdge) {
    BarRig rig;
    rig.bar->setBrushStyle(6);
    styled(rig, Hatched, 100);
    EXPECT_EQ(inkRow(rig.screen(), 3, 0, 10), "##........");
}

TEST(HatchedBar, SpacesStayPaintedAfterTheTextMadeTheDcTransparent) {
    BarRig rig;
    rig.bar->setShowText(true);
    styled(rig, Hatched, 100);
    rig.bar->UserControl_Paint();
    Color spaces = XP_ProgressBar::LightenColor(rig.bar->Color(), 140);
    EXPECT_EQ(rig.screen().at(10, 5), spaces);
    EXPECT_EQ(rig.gdi.bkMode(rig.bar->hdc()), OPAQUE);
}

TEST(PictureBar, TheImageIsTiledFromTheOriginOverTheFill) {
    BarRig rig;
    Bitmap tile(2, 2);
    tile.pixels = {0x0000AA, 0x0000BB, 0x0000CC, 0x0000DD};
    rig.bar->setImage(std::make_shared<StdPicture>(rig.gdi, tile));
    styled(rig, Picture, 50);  // w = 191: columns 2-192
    Legend legend{{0x0000AA, 'A'}, {0x0000BB, 'B'}, {0x0000CC, 'C'},
                  {0x0000DD, 'D'}, {0x99A8AC, 's'}, {white, '.'}};
    auto row = [&](int y) {
        return rowPicture(rig.screen(), y, 0, 6, legend) + "|" +
               rowPicture(rig.screen(), y, 190, 195, legend);
    };
    EXPECT_EQ(row(0), "ssssss|sssss");
    EXPECT_EQ(row(2), "s.ABAB|ABA..");
    EXPECT_EQ(row(3), "s.CDCD|CDC..");
}

TEST(PictureBar, NoImageOrNoBitmapLeavesOnlyTheEdge) {
    BarRig none, icon;
    styled(none, Picture, 100);
    icon.bar->setImage(std::make_shared<StdPicture>(icon.gdi));
    styled(icon, Picture, 100);
    for (BarRig* rig : {&none, &icon}) {
        EXPECT_EQ(inkRow(rig->screen(), 12, 0, 385), "#" + std::string(384, '.'));
    }
}

TEST(GlossyBar, TwoToneTrackAndFillUnderTheRoundedFrame) {
    BarRig rig;
    styled(rig, Glossy, 0);
    Legend legend{{0x686868, 'f'}, {0xBEBEBE, 'g'}, {0xEFEFEF, 'e'}, {silver, 's'}, {white, '.'}};
    EXPECT_EQ(columnPicture(rig.screen(), 300, 0, 25, legend), "fge????????ssssssssssssef");
    EXPECT_EQ(rowPicture(rig.screen(), 0, 0, 4, legend), ".??f");  // corner pixels as in style 0
    rig.bar->setValue(100);                                        // n = 381: columns 2-380
    EXPECT_EQ(rig.screen().at(380, 22), rig.bar->Color());
    EXPECT_EQ(rig.screen().at(381, 22), silver);
}

Rect textRectAt(BarStyle style, int percent, std::string* row = nullptr,
                const Legend* legend = nullptr) {
    BarRig rig;
    rig.bar->setShowText(true);
    styled(rig, style, percent);
    if (row != nullptr) {
        *row = rowPicture(rig.screen(), 12, 178, 208, *legend);
    }
    return rig.bar->TextRect();
}

TEST(PercentText, CentredNumberWithASpaceBeforeThePercentSign) {
    std::string row;
    Legend black{{0x000000, '#'}};
    EXPECT_EQ(textRectAt(Smooth, 57, &row, &black), (Rect{180, 6, 204, 19}));
    EXPECT_EQ(row, "???####??####????????####?????");               // "57 %" in blocks
    EXPECT_EQ(textRectAt(Searching, 57), (Rect{160, 6, 226, 19}));  // "Searching.."
    EXPECT_EQ(textRectAt(Searching, 3), (Rect{160, 6, 226, 19}));
}

TEST(PercentText, DarkTextIsSilverWithTheFilledPartInTheLightenedColour) {
    BarRig rig;
    rig.bar->setShowText(true);
    styled(rig, Dark, 50);  // fill ends at 192.5: "50" is over it, "%" is not
    Legend legend{{silver, 's'}, {XP_ProgressBar::LightenColor(rig.bar->Color(), 80), 'a'}};
    auto row = [&] { return rowPicture(rig.screen(), 12, 180, 205, legend); };
    EXPECT_EQ(row(), "?aaaa??aaaa????????ssss??");
    rig.bar->setValue(30);  // 115.5 lies left of the text: only silver
    EXPECT_EQ(row(), "?ssss??ssss????????ssss??");
}

TEST(PercentText, GlossyAtHundredIsAllWhite) {
    std::string row;
    Legend legend{{white, 'w'}, {0x000000, 'k'}};
    EXPECT_EQ(textRectAt(Glossy, 100, &row, &legend), (Rect{178, 6, 385, 19}));
    EXPECT_EQ(row, "?wwww??wwww??wwww????????wwww?");
}

TEST(PercentText, WithoutShowTextTheDcKeepsItsFontAndColours) {
    BarRig rig;
    styled(rig, Dark, 50);
    EXPECT_EQ(rig.gdi.textColor(rig.bar->hdc()), 0u);
    EXPECT_EQ(rig.gdi.selectedFont(rig.bar->hdc()), rig.gdi.getStockObject(SYSTEM_FONT));
    rig.bar->setShowText(true);
    EXPECT_EQ(rig.gdi.selectedFont(rig.bar->hdc()), rig.gdi.getStockObject(SYSTEM_FONT));
    EXPECT_EQ(rig.gdi.bkMode(rig.bar->hdc()), OPAQUE);
}

}  // namespace
}  // namespace tv::test
