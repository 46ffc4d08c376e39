#include "schemes/scheme_tables.h"
#include "schemes/tests/power_fixture.h"

namespace tv::testing {
namespace {

using Items = std::vector<std::string>;

const char* kThreeSchemes =
    "Existing Power Schemes\r\n----------------------\r\nHome\r\nTravel\r\n"
    "Max Battery\r\n\r\n";

using SchemeList = PowerTest;

TEST_F(SchemeList, HeaderAndNamesWithHeaderChosen) {
    runner.answer("POWERCFG /LIST", {kThreeSchemes});
    frmPower& f = load();
    EXPECT_EQ(f.cboSchemes.List(),
              (Items{"Existing Power Schemes", "Home", "Travel", "Max Battery"}));
    EXPECT_EQ(f.cboSchemes.ListIndex(), 0);
    EXPECT_EQ(f.lstSchemes.ListCount(), 0);
    EXPECT_EQ(f.lblList.Caption, "Select a Power Scheme from the list");
    EXPECT_EQ(f.Text1.Text, "");
    EXPECT_TRUE(f.cboMinutes.Locked);
    EXPECT_EQ(runner.captured, (Items{"POWERCFG /LIST"}));
    EXPECT_EQ(files.readFile(file("Temp.txt")), std::string(kThreeSchemes) + "\r\n");
}

TEST_F(SchemeList, NamesWithADashCannotBeChosen) {
    runner.answer("POWERCFG /LIST", {"Existing Power Schemes\n---\nSemi-Portable\nHome\n"});
    EXPECT_EQ(load().cboSchemes.List(), (Items{"Existing Power Schemes", "Home"}));
}

TEST_F(SchemeList, ADifferentFirstLineIsQueriedAsAScheme) {
    runner.answer("POWERCFG /LIST", {"Existing Power Schemes:\nHome\n"});
    frmPower& f = load();
    EXPECT_EQ(runner.captured,
              (Items{"POWERCFG /LIST", R"(POWERCFG /QUERY "Existing Power Schemes:")"}));
    EXPECT_EQ(f.lblName.Caption, "Existing Power Schemes:");
    // During start-up the window is not shown, so nothing takes the focus.
    for (const std::string& call : view.calls) {
        EXPECT_FALSE(call.starts_with("focus")) << call;
    }
}

TEST_F(SchemeList, EmptyListingLeavesTheBoxEmptyAndLocked) {
    runner.answer("POWERCFG /LIST", {});
    frmPower& f = load();
    EXPECT_EQ(f.cboSchemes.ListCount(), 0);
    EXPECT_EQ(f.cboSchemes.ListIndex(), -1);
    EXPECT_TRUE(f.cboMinutes.Locked);
}

TEST_F(SchemeList, MissingToolShowsNoMadeUpScheme) {
    runner.missing("POWERCFG");
    frmPower& f = load();
    EXPECT_EQ(f.cboSchemes.ListCount(), 0);
    EXPECT_EQ(f.Text1.Text, "");
    EXPECT_TRUE(f.isLoaded());
}

TEST_F(SchemeList, RealToolListsTheSeededSchemes) {
    frmPower& f = load();
    EXPECT_EQ(f.cboSchemes.ListCount(), 7);
    EXPECT_EQ(f.cboSchemes.List()[2], "Portable/Laptop");
}

using ActiveScheme = PowerTest;

TEST_F(ActiveScheme, LabelNamesTheActiveScheme) {
    frmPower& f = load();
    EXPECT_EQ(f.lblPolicy.Caption, "Current Active Power Scheme: Home/Office Desk");
}

TEST_F(ActiveScheme, FailedReadShowsError) {
    store.setActive(42);
    EXPECT_EQ(load().lblPolicy.Caption, "Current Active Power Scheme: Error");
}

TEST_F(ActiveScheme, EmptyPolicyNumberShowsTheFormatMessage) {
    HKEY key = 0;
    registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", &key);
    registry.RegSetValueExA(key, "CurrentPowerPolicy", 0, REG_SZ,
                            reinterpret_cast<const std::uint8_t*>(""), 1);
    registry.RegCloseKey(key);
    load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].prompt,
              "Incorrect Format:\n\nHKEY_CURRENT_USER\\Control Panel\\PowerCfg\\PowerPolicies\\");
}

using SchemeSettings = PowerTest;

TEST_F(SchemeSettings, ChoosingASchemeQueriesAndListsItsSettings) {
    frmPower& f = load();
    view.calls.clear();
    f.cboSchemes.setListIndex(2);
    EXPECT_EQ(lastCaptured(), R"(POWERCFG /QUERY "Portable/Laptop")");
    EXPECT_EQ(f.lblName.Caption, "Portable/Laptop");
    EXPECT_EQ(f.lblList.Caption, "Select an item to change and choose a Time Delay");
    ASSERT_EQ(f.lstSchemes.ListCount(), 12);
    EXPECT_EQ(f.lstSchemes.List()[0], "Name                       Portable/Laptop");
    EXPECT_EQ(f.lstSchemes.List()[1], "Numerical ID               1");
    EXPECT_EQ(f.lstSchemes.List()[2], "Turn off monitor (AC)      After 15 mins");
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_EQ(f.lstSchemes.HorizontalExtent, static_cast<int>(6.5 * 43));
    EXPECT_EQ(view.calls,
              (Items{"LockWindowUpdate lstSchemes", "focus cmdDummy", "LockWindowUpdate 0"}));
}

TEST_F(SchemeSettings, HeaderEmptiesEverythingAndRunsNothing) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(2);
    size_t runs = runner.captured.size();
    f.cboSchemes.setListIndex(0);
    EXPECT_EQ(runner.captured.size(), runs);
    EXPECT_EQ(f.lstSchemes.ListCount(), 0);
    EXPECT_EQ(f.Text1.Text, "");
    EXPECT_EQ(f.lblName.Caption, "Existing Power Schemes");
    EXPECT_EQ(f.lblList.Caption, "Select a Power Scheme from the list");
}

TEST_F(SchemeSettings, ErrorAnswerIsListedAsItComes) {
    frmPower& f = load();
    runner.answerNext({"powercfg: no power scheme named \"Gone\"\n"});
    f.cboSchemes.setListIndex(1);
    EXPECT_EQ(f.lstSchemes.List(), (Items{"powercfg: no power scheme named \"Gone\""}));
}

TEST_F(SchemeSettings, NameWithQuotesIsQueriedAsItself) {
    const std::string name = R"(x" /DELETE "Portable/Laptop)";
    ASSERT_EQ(powercfg("POWERCFG /CREATE " + quoteArgument(name)), "");
    frmPower& f = load();
    f.cboSchemes.setListIndex(f.cboSchemes.ListCount() - 1);
    EXPECT_EQ(lastCaptured(), R"(POWERCFG /QUERY "x\" /DELETE \"Portable/Laptop")");
    EXPECT_EQ(f.lstSchemes.List()[0], "Name                       " + name);
    EXPECT_EQ(f.lstSchemes.List()[1], "Numerical ID               6");
}

// The settings list filled with given lines, as a query would leave it.
class SettingLine : public PowerTest {
  protected:
    frmPower& withLines(const Items& lines) {
        runner.answer("POWERCFG /LIST", {"Existing Power Schemes\n---\nPortable\n"});
        std::string query = "Field Description          Value\n-----------------          -----\n";
        for (const std::string& line : lines) {
            query += line + "\n";
        }
        runner.answer(R"(POWERCFG /QUERY "Portable")", {query});
        frmPower& f = load();
        f.cboSchemes.setListIndex(1);
        return f;
    }
    static Items delays() {
        Items out;
        for (const DelayRow& row : kDelays) {
            out.push_back(row.label);
        }
        return out;
    }
};

const Items kPolicies = {"NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"};

TEST_F(SettingLine, DelayLineOffersTheDelays) {
    frmPower& f = withLines({"Turn off monitor (AC)      After 20 mins"});
    f.lstSchemes.setListIndex(0);
    EXPECT_EQ(f.cboMinutes.List(), delays());
    EXPECT_EQ(f.cboMinutes.Text, "After 20 mins");
    EXPECT_FALSE(f.cboMinutes.Locked);
    EXPECT_EQ(f.cboMinutes2.Text, "");
    EXPECT_EQ(f.SettingSwitch, "/monitor-timeout-ac ");
    EXPECT_EQ(f.lblOption.Caption, "/monitor-timeout-ac ");
}

TEST_F(SettingLine, ThrottleLineOffersThePolicies) {
    frmPower& f = withLines({"Processor Throttle (DC)    ADAPTIVE"});
    f.lstSchemes.setListIndex(0);
    EXPECT_EQ(f.cboMinutes.List(), kPolicies);
    EXPECT_EQ(f.cboMinutes.Text, "ADAPTIVE");
    EXPECT_EQ(f.cboMinutes2.Text, "ADAPTIVE");
    EXPECT_EQ(f.cboMinutes2.List(), kPolicies);
    EXPECT_EQ(f.SettingSwitch, "/processor-throttle-dc ");
    EXPECT_FALSE(f.cboMinutes.Locked);
}

TEST_F(SettingLine, UnsupportedLineIsLocked) {
    frmPower& f = withLines({"System hibernates (AC)     Not Supported", "Not Supported (x)",
                             "Turn off monitor (AC)      Never"});
    f.lstSchemes.setListIndex(2);
    ASSERT_FALSE(f.cboMinutes.Locked);
    for (int line : {0, 1}) {
        f.lstSchemes.setListIndex(line);
        EXPECT_EQ(f.cboMinutes.Text, "Time Delay") << line;
        EXPECT_TRUE(f.cboMinutes.Locked) << line;
    }
    EXPECT_EQ(f.SettingSwitch, "/monitor-timeout-ac ");
}

TEST_F(SettingLine, NameAndNumericalLinesAreLocked) {
    frmPower& f = withLines({"Name                       Portable", "Numerical ID               1",
                             "Turn off monitor (AC)      Never"});
    for (int line : {0, 1}) {
        f.lstSchemes.setListIndex(2);
        f.lstSchemes.setListIndex(line);
        EXPECT_EQ(f.cboMinutes.Text, "Time Delay") << line;
        EXPECT_TRUE(f.cboMinutes.Locked) << line;
    }
}

TEST_F(SettingLine, NameHoldingAPolicyGetsThePoliciesButStaysLocked) {
    frmPower& f = withLines({"Name                       NONE of these"});
    f.lstSchemes.setListIndex(0);
    EXPECT_EQ(f.cboMinutes.List(), kPolicies);
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_TRUE(f.cboMinutes.Locked);
}

TEST_F(SettingLine, UnknownSettingIsNotChangeable) {
    frmPower& f =
        withLines({"Turn off monitor (AC)      After 5 mins", "Lid closed (AC)      After 5 mins"});
    f.lstSchemes.setListIndex(0);
    f.lstSchemes.setListIndex(1);
    EXPECT_TRUE(f.cboMinutes.Locked);
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_EQ(f.SettingSwitch, "/monitor-timeout-ac ");
}

TEST_F(SettingLine, OtherLinesChangeOnlyTheChoices) {
    frmPower& f = withLines({"Processor Throttle (AC)    NONE", "some other text"});
    f.lstSchemes.setListIndex(0);
    f.lstSchemes.setListIndex(1);
    EXPECT_EQ(f.cboMinutes.List(), delays());
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_FALSE(f.cboMinutes.Locked);
}

TEST_F(SettingLine, ValueIsTrimmed) {
    frmPower& f = withLines({"Turn off hard disks (AC)   After 3 hours   "});
    f.lstSchemes.setListIndex(0);
    EXPECT_EQ(f.cboMinutes.Text, "After 3 hours");
}

TEST_F(SettingLine, DelayMinutesFollowTheTableAndKeepTheirValueOtherwise) {
    frmPower& f = withLines({"Turn off monitor (AC)      Never"});
    f.cboMinutes.Text = "After 4 hours";
    f.SelectDelayMinutes();
    EXPECT_EQ(f.DelayMinutes, "240");
    for (const char* other : {"DEGRADE", "Time Delay", "after 5 mins", ""}) {
        f.cboMinutes.Text = other;
        f.SelectDelayMinutes();
        EXPECT_EQ(f.DelayMinutes, "240") << other;
    }
    f.cboMinutes.Text = "Never";
    f.SelectDelayMinutes();
    EXPECT_EQ(f.DelayMinutes, "0");
}

using ThrottleHelp = PowerTest;

TEST_F(ThrottleHelp, InformationBoxWithTheFourParagraphs) {
    frmPower& f = load();
    f.Image1.click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const ShownBox& box = dialogs.boxes[0];
    EXPECT_EQ(box.style, vbInformation);
    EXPECT_EQ(box.title, "Vantrel");
    EXPECT_TRUE(box.prompt.starts_with("Processor Throttle Settings:\r\n\r\nNONE - The "));
    EXPECT_NE(box.prompt.find("at all times.     \r\n\r\nCONSTANT - "), std::string::npos);
    EXPECT_TRUE(box.prompt.ends_with("the demand the computer puts on the microprocessor."));
}

}  // namespace
}  // namespace tv::testing
