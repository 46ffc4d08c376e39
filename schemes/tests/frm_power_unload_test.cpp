// The window closed while one of its handlers waits for the tool.
#include "schemes/run_behind.h"
#include "schemes/tests/power_fixture.h"

namespace tv::testing {
namespace {

using Items = std::vector<std::string>;

TEST(RunStop, AHangingRunEndsWhenToldWithItsOutputSoFar) {
    VirtualClock clock;
    FormRuntime runtime{clock};
    Form form{runtime, "frmPower"};
    TextBox box{form, "Text1"};
    FakeProcessRunner runner;
    runner.answer("x", {"part", "never"}, 0);
    int turns = 0;
    runtime.setDoEvents([&] { ++turns; });
    RunBehind(runner, runtime, "x", box, [&] { return turns == 2; });
    EXPECT_EQ(box.Text, "part");
}

using ClosedWhileRunning = PowerTest;

TEST_F(ClosedWhileRunning, NothingMoreRunsAndNoFileComesBack) {
    frmPower& f = load();
    f.cboSchemes.setListIndex(2);
    ASSERT_TRUE(files.has(file("Temp.txt")));
    // The sleep-state query takes long; the window is closed during it.
    runner.answer("POWERCFG /AVAILABLESLEEPSTATES", {"S3"}, 1000);
    std::size_t before = runner.captured.size();
    int turns = 0;
    runtime.setDoEvents([&] {
        if (++turns == 5) {
            f.cmdClose.click();
        }
    });
    f.cmdDevices.click();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(Items(runner.captured.begin() + static_cast<long>(before), runner.captured.end()),
              (Items{"POWERCFG /AVAILABLESLEEPSTATES"}));
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        EXPECT_FALSE(files.has(file(name))) << name;
    }
    // A handler reached after the unload starts nothing either.
    f.cmdSet.click();
    f.cboSchemes_Click();
    EXPECT_EQ(runner.captured.size(), before + 1);
    EXPECT_TRUE(runner.started.empty());
}

TEST_F(ClosedWhileRunning, WithoutATemporaryFolderTheCopiesStayInMemory) {
    form = std::make_unique<frmPower>(
        runtime, PowerServices{runner, files, general, dialogs, pointer, view, measure},
        std::nullopt);
    runtime.load(*form);
    EXPECT_EQ(form->cboSchemes.ListCount(), 7);  // the header and six schemes
    form->cboSchemes.setListIndex(1);
    EXPECT_GT(form->lstSchemes.ListCount(), 5);
    form->cmdDevices.click();
    EXPECT_EQ(form->lblList.Caption, "Power Saving Devices Found - 0");
    EXPECT_FALSE(files.has("Temp.txt") || files.has("Temp2.txt") || files.has("Temp3.txt"));
    EXPECT_FALSE(files.has(file("Temp.txt")));
}

}  // namespace
}  // namespace tv::testing
