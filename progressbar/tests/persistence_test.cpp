#include <gtest/gtest.h>

#include "bar_rig.h"
#include "progressbar/saved_form.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv::test {
namespace {

std::string saved(const XP_ProgressBar& bar) {
    PropertyBag bag;
    bar.UserControl_WriteProperties(bag);
    return bag.toText();
}

TEST(SaveProperties, ANewControlWritesOnlyFontBrushStyleAndColor) {
    BarRig rig;
    EXPECT_EQ(saved(*rig.bar),
              "Font = \"MS Sans Serif\" 8.25\n"
              "BrushStyle = 0\n"
              "Color = 12937777\n");
}

TEST(SaveProperties, ChangedValuesFollowInTheirOrder) {
    BarRig rig;
    Bitmap tile(2, 1);
    tile.pixels = {0x0000FF, 0xFF0000};
    rig.bar->setImage(std::make_shared<StdPicture>(rig.gdi, tile));
    rig.bar->setShowText(true);
    rig.bar->setScrolling(Hatched);
    rig.bar->setMax(200);
    rig.bar->setBrushStyle(4);
    rig.bar->setValue(100);
    EXPECT_EQ(saved(*rig.bar),
              "Font = \"MS Sans Serif\" 8.25\n"
              "Color = 12937777\n"
              "Image = picture 2 1 0000FF FF0000\n"
              "Max = 200\n"
              "Scrolling = 7\n"
              "ShowText = True\n"
              "Value = 100\n");
}

TEST(LoadProperties, AMissingBrushStyleLoadsAsTheCrossHatch) {
    BarRig rig;
    rig.bar->UserControl_ReadProperties(PropertyBag::fromText("Scrolling = 7\nValue = 100\n"));
    Color line = rig.bar->Color();
    Legend legend{{line, 'c'}, {XP_ProgressBar::LightenColor(line, 140), 'b'}};
    EXPECT_EQ(rowPicture(rig.screen(), 3, 2, 14, legend), "cccccccccccc");
    EXPECT_EQ(rowPicture(rig.screen(), 5, 2, 14, legend), "bbcbbbbbbbcb");
    EXPECT_FALSE(PropertyBag::fromText(saved(*rig.bar)).contains("BrushStyle"));
}

TEST(LoadProperties, ValuesGoThroughTheSettersAndAMaxOtherThan100SurvivesTheTrip) {
    BarRig first;
    first.bar->setMax(200);
    first.bar->setValue(100);
    first.bar->setColor(0x8000000D);
    PropertyBag bag;
    first.bar->UserControl_WriteProperties(bag);

    BarRig second;
    second.bar->UserControl_ReadProperties(bag);
    EXPECT_EQ(second.bar->Percent(), 50);
    EXPECT_EQ(second.bar->Value(), 100);
    EXPECT_EQ(second.bar->Color(), 0xC56A31u);
    EXPECT_EQ(second.screen(), first.screen());
}

TEST(LoadProperties, ABadBagChangesNothing) {
    BarRig rig;
    rig.bar->setValue(40);
    Bitmap before = rig.screen();
    auto font = rig.bar->Font();
    EXPECT_THROW(rig.bar->UserControl_ReadProperties(
                     PropertyBag::fromText("Scrolling = 3\nMax = 0\nValue = 5")),
                 DivisionError);
    EXPECT_THROW(rig.bar->UserControl_ReadProperties(
                     PropertyBag::fromText("Scrolling = 3\nBrushStyle = 70000")),
                 FormatError);
    EXPECT_THROW(rig.bar->UserControl_ReadProperties(PropertyBag::fromText("Font = 3")),
                 FormatError);
    EXPECT_EQ(rig.bar->Scrolling(), 0);
    EXPECT_EQ(rig.bar->Max(), 100);
    EXPECT_EQ(rig.bar->Font(), font);
    EXPECT_EQ(rig.screen(), before);
}

TEST(LoadProperties, ABagWithoutFontKeepsTheCurrentFont) {
    BarRig rig;
    auto font = rig.bar->Font();
    rig.bar->UserControl_ReadProperties(PropertyBag::fromText("Value = 3"));
    EXPECT_EQ(rig.bar->Font(), font);
    rig.bar->UserControl_ReadProperties(PropertyBag::fromText("Font = \"Arial\" 10 bold"));
    EXPECT_EQ(rig.bar->Font()->info(), (FontInfo{"Arial", 10, true}));
}

TEST(SavedFormText, EveryKindOfValueIsRead) {
    PropertyBag bag = PropertyBag::fromText(R"(
# a comment, then a blank line

  Max = -12
Color = &H8000000D
ShowText = true
Font = "Say ""Hi""" 8.25 Bold Italic
Image = picture 1 2 A85E33 000001
Other = Nothing
)");
    EXPECT_EQ(readLong(bag, "max", 0), -12);
    EXPECT_EQ(readLong(bag, "Color", 0), static_cast<std::int32_t>(0x8000000D));
    EXPECT_TRUE(readBool(bag, "ShowText", false));
    EXPECT_EQ(readFont(bag, "Font"), (FontInfo{"Say \"Hi\"", 8.25, true, true}));
    Bitmap picture(1, 2);
    picture.pixels = {0xA85E33, 0x000001};
    EXPECT_EQ(readPicture(bag, "Image"), picture);
    EXPECT_EQ(readPicture(bag, "Other"), std::nullopt);
    EXPECT_EQ(PropertyBag::fromText(bag.toText()).toText(), bag.toText());
}

TEST(SavedFormText, MalformedLinesAreNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"Max 100", "line 1: expected 'Key = value'"},
        {"Max = 1\nmax = 2", "line 2: max is given twice"},
        {"Max = 99999999999",
         "line 1: '99999999999' is not a 32-bit number, Boolean, font or picture"},
        {"Max =", "line 1: missing value"},
        {"1x = 3", "line 1: '1x' is not a property name"},
        {"Font = \"Arial 8", "line 1: font name has no closing quote"},
        {"Font = \"Ari\ral\" 8", "line 1: font name holds a line break"},
        {"Font = \"Arial\" 8 wavy", "line 1: unknown font style 'wavy'"},
        {"Font = \"Arial\" -8",
         "line 1: font size must be a number of points from above 0 to 1000"},
        {"\nImage = picture 2 1 FF0000", "line 2: picture needs 2 pixels"},
        {"Image = picture 1 1 GG0000", "line 1: picture pixel 'GG0000' is not six hex digits"},
        {"Image = picture 0 1",
         "line 1: picture needs a width and height above 0 and at most 4M pixels"},
    };
    for (auto [text, message] : cases) {
        try {
            PropertyBag::fromText(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const FormatError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(MonitorBar, XpProgressBar1ComesFromItsSavedForm) {
    PropertyBag form = xpProgressBar1Form();
    Size size = savedExtentPixels(form);
    EXPECT_EQ(size, (Size{385, 25}));
    BarRig rig(size.width, size.height, false);
    rig.bar = createProgressBar(rig.host, rig.gdi, form);
    EXPECT_EQ(rig.bar->Color(), 0xA85E33u);
    EXPECT_EQ(rig.bar->Scrolling(), Segmented);
    EXPECT_EQ(rig.bar->Orientation(), 0);
    EXPECT_FALSE(rig.bar->ShowText());
    EXPECT_EQ(rig.bar->Font()->info(), FontInfo{});
    EXPECT_EQ(rig.screen().at(5, 12), 0xA85E33u);
    EXPECT_EQ(saved(*rig.bar),
              "Font = \"MS Sans Serif\" 8.25\n"
              "BrushStyle = 0\n"
              "Color = 11034163\n");
}

}  // namespace
}  // namespace tv::test
