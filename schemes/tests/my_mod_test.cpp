#include "schemes/my_mod.h"

#include <gtest/gtest.h>

#include "platform/testing/memory_files.h"

namespace tv {
namespace {

using Items = std::vector<std::string>;

class Lists : public ::testing::Test {
  protected:
    VirtualClock clock;
    FormRuntime runtime{clock};
    Form form{runtime, "frmPower"};
    ListBox lstSchemes{form, "lstSchemes"};
    ListBox lstDevices{form, "lstDevices"};
    ComboBox cboSchemes{form, "cboSchemes"};
    MemoryFiles files;

    static void fill(ListControl& list, const Items& items) {
        for (const std::string& item : items) {
            list.AddItem(item);
        }
    }
};

TEST(FieldInput, SettingLineIsOneField) {
    EXPECT_EQ(readFields("Turn off monitor (AC)      After 20 mins\r\n"),
              (Items{"Turn off monitor (AC)      After 20 mins"}));
}

TEST(FieldInput, CommaSplitsALine) {
    EXPECT_EQ(readFields("Name                       Home, Office\r\n"),
              (Items{"Name                       Home", "Office"}));
    EXPECT_EQ(readFields("a,,b\r\n"), (Items{"a", "", "b"}));
    EXPECT_EQ(readFields("a,\r\nb"), (Items{"a", "", "b"}));
}

TEST(FieldInput, LeadingBlanksAreSkippedTrailingKept) {
    EXPECT_EQ(readFields("   padded  \r\n\t tab"), (Items{"padded  ", "tab"}));
}

TEST(FieldInput, EmptyLinesAreEmptyFields) {
    EXPECT_EQ(readFields("a\r\n\r\n\r\nb\r\n"), (Items{"a", "", "", "b"}));
    EXPECT_EQ(readFields("\r\n"), (Items{""}));
    EXPECT_EQ(readFields(""), Items{});
}

TEST(FieldInput, QuotedFieldRunsToTheNextQuote) {
    EXPECT_EQ(readFields(R"("a, b" tail,c)"), (Items{"a, b", "c"}));
    EXPECT_EQ(readFields(R"(  "quoted")"), (Items{"quoted"}));
    EXPECT_EQ(readFields(R"(Name "x")"), (Items{R"(Name "x")"}));
}

TEST(FieldInput, UnclosedQuoteStopsAtItsLine) {
    EXPECT_EQ(readFields("Name x,\"y\r\nTurn off monitor (AC)      Never\r\n"),
              (Items{"Name x", "y", "Turn off monitor (AC)      Never"}));
}

TEST(FieldInput, BareLineFeedsAndCarriageReturnsEndLines) {
    EXPECT_EQ(readFields("a\nb\rc\r\n"), (Items{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\nb\r\n\r\nc"), (Items{"a", "b", "", "c"}));
    EXPECT_EQ(splitLines("a\n\r\n"), (Items{"a", ""}));
}

TEST_F(Lists, FillSkipsDashesAndValueAndDropsEmptyEntries) {
    files.put("/f", R"(Field Description          Value
-----------------          -----
Name                       Portable/Laptop
Numerical ID               1


Turn off monitor (AC)      After 15 mins
)");
    FillListFromFile(runtime, files, lstSchemes, "/f", lstSchemes);
    EXPECT_EQ(lstSchemes.List(),
              (Items{"Name                       Portable/Laptop", "Numerical ID               1",
                     "Turn off monitor (AC)      After 15 mins"}));
}

TEST_F(Lists, FillYieldsAfterEveryEntry) {
    int turns = 0;
    runtime.setDoEvents([&] { ++turns; });
    files.put("/f", "a\r\nb-c\r\nd\r\n");
    FillListFromFile(runtime, files, lstSchemes, "/f", lstSchemes);
    EXPECT_EQ(turns, 2);
}

TEST_F(Lists, FillCleansTheSettingsListWhicheverListItFills) {
    fill(lstSchemes, {"kept", "", "also"});
    files.put("/f", "dev one\r\n\r\ndev two\r\n");
    FillListFromFile(runtime, files, lstDevices, "/f", lstSchemes);
    EXPECT_EQ(lstDevices.List(), (Items{"dev one", "", "dev two"}));
    EXPECT_EQ(lstSchemes.List(), (Items{"kept", "also"}));
}

TEST_F(Lists, FillFromMissingFileAddsNothing) {
    fill(lstSchemes, {"x"});
    FillListFromFile(runtime, files, lstSchemes, "/missing", lstSchemes);
    EXPECT_EQ(lstSchemes.List(), (Items{"x"}));
}

TEST_F(Lists, CopyTakesWholeLinesInOrder) {
    fill(cboSchemes, {"old"});
    cboSchemes.setListIndex(0);
    files.put("/f", "Existing Power Schemes\r\n------\r\nHome, Office\r\n  Max Battery\r\n");
    CopyFileToBox(files, "/f", cboSchemes);
    EXPECT_EQ(cboSchemes.List(),
              (Items{"Existing Power Schemes", "------", "Home, Office", "  Max Battery"}));
    EXPECT_EQ(cboSchemes.ListIndex(), -1);
}

TEST_F(Lists, CopyOfMissingFileEmptiesTheBox) {
    fill(cboSchemes, {"old"});
    CopyFileToBox(files, "/missing", cboSchemes);
    EXPECT_EQ(cboSchemes.ListCount(), 0);
}

TEST_F(Lists, CleanRemovesEveryEmptyOrDashedEntry) {
    fill(cboSchemes, {"Existing Power Schemes", "------", "---", "Home", "", "", "Semi-Portable",
                      "Max Battery", ""});
    CleanSchemeList(cboSchemes);
    EXPECT_EQ(cboSchemes.List(), (Items{"Existing Power Schemes", "Home", "Max Battery"}));
}

TEST_F(Lists, RemoveEmptyKeepsDashes) {
    fill(lstDevices, {"", "", "a-b", "", "c"});
    RemoveEmptyItems(lstDevices);
    EXPECT_EQ(lstDevices.List(), (Items{"a-b", "c"}));
}

class Measure : public TextMeasure {
  public:
    double textWidth(const std::string& text) override {
        measured.push_back(text);
        return 7.9 * static_cast<double>(text.size());
    }
    std::vector<std::string> measured;
};

TEST_F(Lists, ScrollWidthOfTheLongestEntryAndABlank) {
    Measure measure;
    fill(lstSchemes, {"abc", "wxyz", "long", "ab"});
    SetListScrollWidth(lstSchemes, measure);
    EXPECT_EQ(measure.measured, (Items{"wxyz "}));
    EXPECT_EQ(lstSchemes.HorizontalExtent, 39);  // 39.5 with the fraction dropped
}

TEST_F(Lists, ScrollWidthOfAnEmptyListIsOneBlank) {
    Measure measure;
    SetListScrollWidth(lstSchemes, measure);
    EXPECT_EQ(measure.measured, (Items{" "}));
    EXPECT_EQ(lstSchemes.HorizontalExtent, 7);
}

TEST_F(Lists, ScrollWidthCountsCharactersNotBytes) {
    Measure measure;
    fill(lstSchemes, {"ééé", "abcd"});
    SetListScrollWidth(lstSchemes, measure);
    EXPECT_EQ(measure.measured, (Items{"abcd "}));
}

TEST(TempFiles, ExistenceAdmitsHiddenAndSystemButNotReadOnly) {
    MemoryFiles files;
    files.put("/d/Temp.txt", "");
    files.put("/d/Temp2.txt", "", vbAttrHidden | vbAttrSystem);
    files.put("/d/Temp3.txt", "", vbAttrReadOnly);
    EXPECT_TRUE(FileExists(files, "/d/Temp.txt"));
    EXPECT_TRUE(FileExists(files, "/d/Temp2.txt"));
    EXPECT_FALSE(FileExists(files, "/d/Temp3.txt"));
    EXPECT_FALSE(FileExists(files, "/d/none"));
}

TEST(TempFiles, SaveAddsOneLineBreak) {
    MemoryFiles files;
    ASSERT_TRUE(saveTextToFile(files, "/t", "a\r\nb"));
    EXPECT_EQ(files.readFile("/t"), "a\r\nb\r\n");
    ASSERT_TRUE(saveTextToFile(files, "/t", ""));
    EXPECT_EQ(files.readFile("/t"), "\r\n");
}

}  // namespace
}  // namespace tv
