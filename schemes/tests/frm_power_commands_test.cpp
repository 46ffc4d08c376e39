#include "runtime/testing/temp_dir.h"
#include "schemes/scheme_tables.h"
#include "schemes/tests/power_fixture.h"

namespace tv::testing {
namespace {

using Items = std::vector<std::string>;

int indexOf(const ListControl& list, const std::string& prefix) {
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List()[static_cast<size_t>(i)].starts_with(prefix)) {
            return i;
        }
    }
    return -1;
}

class ApplyStep : public PowerTest {
  protected:
    // Portable/Laptop chosen and the line of a setting selected.
    frmPower& onLine(const std::string& label) {
        frmPower& f = load();
        f.cboSchemes.setListIndex(indexOf(f.cboSchemes, "Portable/Laptop"));
        f.lstSchemes.setListIndex(indexOf(f.lstSchemes, label));
        runner.captured.clear();
        return f;
    }
    std::vector<int> sleeps;
    void SetUp() override {
        clock.onSleep = [this](int ms) { sleeps.push_back(ms); };
    }
};

TEST_F(ApplyStep, ChosenDelayIsSentAndReadBack) {
    frmPower& f = onLine("Turn off monitor (AC)");
    f.cboMinutes.setListIndex(6);  // After 20 mins
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].first,
              R"(POWERCFG /CHANGE "Portable/Laptop" /monitor-timeout-ac 20)");
    EXPECT_EQ(runner.started[0].second, SW_HIDE);
    EXPECT_EQ(runner.waits, (std::vector<int>{3000}));
    EXPECT_EQ(sleeps, (std::vector<int>{500}));
    EXPECT_EQ(runner.captured, (Items{R"(POWERCFG /QUERY "Portable/Laptop")"}));
    EXPECT_EQ(f.lstSchemes.ListIndex(), 2);
    EXPECT_EQ(f.lstSchemes.List()[2], "Turn off monitor (AC)      After 20 mins");
    EXPECT_EQ(f.cboMinutes.Text, "After 20 mins");
    EXPECT_FALSE(f.cboMinutes.Locked);
}

TEST_F(ApplyStep, NeverSendsZero) {
    frmPower& f = onLine("Turn off hard disks (AC)");
    f.cboMinutes.setListIndex(15);
    EXPECT_EQ(runner.started.at(0).first,
              R"(POWERCFG /CHANGE "Portable/Laptop" /disk-timeout-ac 0)");
    EXPECT_EQ(f.lstSchemes.List()[4], "Turn off hard disks (AC)   Never");
}

TEST_F(ApplyStep, PolicyIsSentByName) {
    frmPower& f = onLine("Processor Throttle (DC)");
    f.cboMinutes.setListIndex(2);
    EXPECT_EQ(f.cboMinutes2.Text, "DEGRADE");
    EXPECT_EQ(runner.started.at(0).first,
              R"(POWERCFG /CHANGE "Portable/Laptop" /processor-throttle-dc DEGRADE)");
    EXPECT_EQ(f.lstSchemes.List()[11], "Processor Throttle (DC)    DEGRADE");
    EXPECT_EQ(f.cboMinutes.Text, "DEGRADE");
}

TEST_F(ApplyStep, DelayAfterAPolicyLineSendsMinutes) {
    frmPower& f = onLine("Processor Throttle (DC)");
    f.lstSchemes.setListIndex(indexOf(f.lstSchemes, "System standby (DC)"));
    f.cboMinutes.setListIndex(0);
    EXPECT_EQ(runner.started.at(0).first,
              R"(POWERCFG /CHANGE "Portable/Laptop" /standby-timeout-dc 1)");
}

TEST_F(ApplyStep, WithoutAUsableChoiceOnlyTheMessageShows) {
    frmPower& f = onLine("Turn off monitor (AC)");
    f.lstSchemes.setListIndex(-1);
    f.cboMinutes.Text = "After 5 mins";
    f.cmdApply.click();
    f.cboMinutes.Text = "";
    f.cmdApply.click();
    EXPECT_TRUE(runner.started.empty());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0],
              (ShownBox{"Please select a Power Scheme and feature to change the delay times    ",
                        vbInformation, "Vantrel"}));
    EXPECT_EQ(f.cboMinutes.Text, "Time Delay");
    EXPECT_EQ(view.calls.back(), "LockWindowUpdate 0");
}

TEST_F(ApplyStep, LockedValueBoxOffersNothing) {
    frmPower& f = onLine("Numerical ID");
    ASSERT_TRUE(f.cboMinutes.Locked);
    f.cboMinutes.setListIndex(3);
    EXPECT_TRUE(runner.started.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ApplyStep, RecordedPointerIsReplayed) {
    frmPower& f = onLine("Turn off monitor (DC)");
    pointer.position = {312, -40};
    f.lstSchemes.mouseDown(1, 5, 5);
    runtime.runTimersUntil(clock.nowMs() + 120);
    f.lstSchemes.mouseUp(1, 5, 5);
    f.cboMinutes.setListIndex(1);
    EXPECT_EQ(pointer.calls, (Items{"SetCursorPos 312 -40", "mouse_event 6"}));
}

TEST_F(ApplyStep, KeyboardOnlyMovesNoPointer) {
    frmPower& f = onLine("Turn off monitor (DC)");
    f.cboMinutes.setListIndex(1);
    EXPECT_EQ(runner.started.size(), 1u);
    EXPECT_TRUE(pointer.calls.empty());
}

using CreateScheme = PowerTest;

TEST_F(CreateScheme, NewSchemeIsListedChosenAndQueried) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(1);
    dialogs.answers = {"Travel"};
    runner.captured.clear();
    f.cmdCreate.click();
    EXPECT_EQ(dialogs.inputs, (std::vector<ShownBox>{{"Enter a name for the new Power Scheme", 0,
                                                      "Power Scheme Name|Enter new name"}}));
    EXPECT_EQ(runner.started.at(0).first, R"(POWERCFG /CREATE "Travel")");
    EXPECT_EQ(runner.captured, (Items{"POWERCFG /LIST", R"(POWERCFG /QUERY "Travel")"}));
    EXPECT_EQ(f.cboSchemes.Text, "Travel");
    EXPECT_EQ(f.cboSchemes.ListIndex(), 7);
    EXPECT_EQ(f.lstSchemes.List()[0], "Name                       Travel");
}

TEST_F(CreateScheme, PrefixOfAnEarlierNameChoosesThatScheme) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(3);
    dialogs.answers = {"present"};
    f.cmdCreate.click();
    EXPECT_EQ(f.cboSchemes.Text, "Presentation");
    EXPECT_EQ(f.cboSchemes.List().back(), "present");
}

TEST_F(CreateScheme, CancelledOrDefaultNameSendsNothing) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(1);
    dialogs.answers = {"", "Enter new name"};
    f.cmdCreate.click();
    f.cmdCreate.click();
    EXPECT_TRUE(runner.started.empty());
    EXPECT_EQ(dialogs.inputs.size(), 2u);
}

TEST_F(CreateScheme, NoSchemeChosenOrDevicesShownOnlyShowsTheMessage) {
    frmPower& f = load();
    f.cmdCreate.click();
    f.cboSchemes.setListIndex(1);
    f.lstDevices.Visible = true;
    f.cmdCreate.click();
    EXPECT_TRUE(dialogs.inputs.empty());
    EXPECT_TRUE(runner.started.empty());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].prompt,
              "Please select an existing Power Scheme first.     \r\n"
              "The new Scheme will have the same settings until you change them.     ");
    EXPECT_EQ(view.calls.back(), "focus cboSchemes");
}

using DeleteScheme = PowerTest;

TEST_F(DeleteScheme, ActiveSchemeIsRefusedWithTheWarning) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(1);
    f.cmdDelete.click();
    EXPECT_TRUE(runner.started.empty());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0],
              (ShownBox{"\"Home/Office Desk\" is the current active Power Scheme.     \r\n"
                        "You must change to another Scheme in order to delete this one.     ",
                        vbExclamation, "Vantrel"}));
}

TEST_F(DeleteScheme, OtherSchemeGoesWithoutConfirmation) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(3);
    f.cmdDelete.click();
    EXPECT_EQ(runner.started.at(0).first, R"(POWERCFG /DELETE "Presentation")");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(indexOf(f.cboSchemes, "Presentation"), -1);
    EXPECT_EQ(f.cboSchemes.ListIndex(), 0);
    EXPECT_EQ(f.lstSchemes.ListCount(), 0);
    EXPECT_EQ(f.lblList.Caption, "Select a Power Scheme from the list");
}

TEST_F(DeleteScheme, RefusedDeleteKeepsTheScheme) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(4);
    runner.onStart = nullptr;  // the tool does nothing
    f.cmdDelete.click();
    EXPECT_EQ(indexOf(f.cboSchemes, "Always On"), 4);
    EXPECT_EQ(f.cboSchemes.ListIndex(), 0);
}

TEST_F(DeleteScheme, QuotedNameCannotReachAnotherScheme) {
    const std::string name = R"(x" /DELETE "Portable/Laptop)";
    powercfg("POWERCFG /CREATE " + quoteArgument(name));
    frmPower& f = load();
    f.cboSchemes.setListIndex(7);
    ASSERT_EQ(f.cboSchemes.Text, name);
    f.cmdDelete.click();
    EXPECT_EQ(f.cboSchemes.ListCount(), 7);  // the header and the six others
    EXPECT_EQ(indexOf(f.cboSchemes, "Portable/Laptop"), 2);
    EXPECT_EQ(indexOf(f.cboSchemes, "x\""), -1);
}

TEST_F(DeleteScheme, NoSchemeChosenOnlyShowsTheMessage) {
    frmPower& f = load();
    f.cmdDelete.click();
    EXPECT_EQ(dialogs.boxes.at(0).prompt, "Please select a Power Scheme to delete     ");
    EXPECT_TRUE(runner.started.empty());
}

using ActivateScheme = PowerTest;

TEST_F(ActivateScheme, LabelFollowsTheNewActiveScheme) {
    std::vector<int> sleeps;
    clock.onSleep = [&](int ms) { sleeps.push_back(ms); };
    frmPower& f = load();
    f.cboSchemes.setListIndex(6);
    f.cmdSet.click();
    EXPECT_EQ(runner.started.at(0).first, R"(POWERCFG /SETACTIVE "Max Battery")");
    EXPECT_EQ(sleeps, (std::vector<int>{500}));
    EXPECT_EQ(f.lblPolicy.Caption, "Current Active Power Scheme: Max Battery");
}

TEST_F(ActivateScheme, NoSchemeChosenOnlyShowsTheMessage) {
    frmPower& f = load();
    f.cmdSet.click();
    EXPECT_EQ(dialogs.boxes.at(0).prompt, "Please select a Power Scheme to apply     ");
    EXPECT_TRUE(runner.started.empty());
}

class DeviceSearch : public PowerTest {
  protected:
    void addDevice(const std::string& id) {
        std::filesystem::path device = std::filesystem::path(sysfsRoot) / "bus/usb/devices" / id;
        std::filesystem::create_directories(device / "power");
        std::ofstream(device / "power/wakeup") << "enabled\n";
    }
    void SetUp() override { sysfsRoot = folder_.path(); }

    testing::TempDir folder_{"vantrel-sysfs"};
};

TEST_F(DeviceSearch, CountOfDevicesFound) {
    for (const char* id : {"usb1", "usb2", "2.1"}) {
        addDevice(id);
    }
    std::vector<int> sleeps;
    clock.onSleep = [&](int ms) { sleeps.push_back(ms); };
    frmPower& f = load();
    f.cboSchemes.setListIndex(1);
    f.cmdDevices.click();
    EXPECT_EQ(runner.captured.back(), "POWERCFG /DEVICEQUERY S1_supported");
    EXPECT_EQ(f.lstDevices.List(), (Items{"2.1", "usb1", "usb2"}));
    EXPECT_TRUE(f.lstDevices.Visible);
    EXPECT_EQ(f.lblList.Caption, "Power Saving Devices Found - 3");
    EXPECT_EQ(sleeps, (std::vector<int>{100, 250, 250}));
    EXPECT_TRUE(files.has(file("Temp3.txt")));
}

TEST_F(DeviceSearch, StateIsTakenFromColumns68And69) {
    frmPower& f = load();
    runner.answer("POWERCFG /AVAILABLESLEEPSTATES",
                  {std::string(67, '.') + "S3xx\r\nsecond line\r\n"});
    f.cmdDevices.click();
    EXPECT_EQ(runner.captured.back(), "POWERCFG /DEVICEQUERY S3_supported");
    runner.answer("POWERCFG /AVAILABLESLEEPSTATES", {std::string(68, '.') + "\r\n"});
    f.cmdDevices.click();
    EXPECT_EQ(runner.captured.back(), "POWERCFG /DEVICEQUERY ._supported");
    runner.answer("POWERCFG /AVAILABLESLEEPSTATES", {"short\r\n"});
    f.cmdDevices.click();
    EXPECT_EQ(runner.captured.back(), "POWERCFG /DEVICEQUERY _supported");
}

TEST_F(DeviceSearch, LongOutputScrollsTheFirstLineAway) {
    frmPower& f = load();
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += std::string(67, static_cast<char>('a' + i)) + "S" + std::to_string(i) + "\r\n";
    }
    runner.answer("POWERCFG /AVAILABLESLEEPSTATES", {text});
    f.cmdDevices.click();
    // Eleven lines with the caret's empty one: the box shows the last eight.
    EXPECT_EQ(runner.captured.back(), "POWERCFG /DEVICEQUERY S3_supported");
}

TEST_F(DeviceSearch, DeviceListBlocksSchemeCommandsUntilASchemeIsChosen) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(3);
    f.cmdDevices.click();
    f.cmdSet.click();
    f.cmdDelete.click();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(runner.started.empty());
    f.cboSchemes.setListIndex(3);
    EXPECT_FALSE(f.lstDevices.Visible);
    f.cmdSet.click();
    EXPECT_EQ(runner.started.size(), 1u);
}

TEST_F(DeviceSearch, MissingToolFindsNoDevices) {
    frmPower& f = load();
    runner.missing("POWERCFG");
    f.cmdDevices.click();
    EXPECT_EQ(f.lstDevices.ListCount(), 0);
    EXPECT_EQ(f.lblList.Caption, "Power Saving Devices Found - 0");
}

}  // namespace
}  // namespace tv::testing
