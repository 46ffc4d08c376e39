// The widgets that behave unlike plain Qt ones, and the runner that sends the power
// applet to the launcher.

#include <gtest/gtest.h>

#include <QScrollBar>

#include "platform/testing/process_fake.h"
#include "schemes/qt/applet_runner.h"
#include "schemes/qt/power_widgets.h"
#include "schemes/qt/testing/vantrel_rig.h"

namespace tv {
namespace {

using testing::settle;

TEST(SettingsList, ScrollRangeFollowsTheGivenExtentNotTheLines) {
    testing::application();
    QWidget window;
    SettingsList list(&window);
    list.setGeometry(0, 0, 200, 100);
    list.addItem(QString(80, QChar(u'x')));
    window.show();
    settle();
    int page = list.viewport()->width();

    list.setHorizontalExtent(page + 120);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 120);
    EXPECT_EQ(list.horizontalScrollBar()->pageStep(), page);

    // Narrower than the list: nothing to scroll, however long the line.
    list.setHorizontalExtent(page - 10);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);
}

TEST(ValueCombo, LockingClosesAnOpenList) {
    testing::application();
    ValueCombo box(nullptr);
    box.addItems({"NONE", "CONSTANT"});
    box.show();
    box.showPopup();
    settle();
    ASSERT_TRUE(box.view()->isVisible());
    box.setLocked(true);
    settle();
    EXPECT_FALSE(box.view()->isVisible());
}

TEST(ValueCombo, ListOpensOnTheEntryTheEditFieldShows) {
    testing::application();
    ValueCombo box(nullptr);
    box.addItems({"After 1 min", "After 2 mins", "After 3 mins"});
    box.setEditText("After 3 mins");
    box.show();
    box.showPopup();
    settle();
    EXPECT_EQ(box.view()->currentIndex().row(), 2);
    EXPECT_EQ(box.currentIndex(), 0);  // shown, not chosen
}

TEST(AppletRunner, SendsOnlyTheAppletToTheLauncher) {
    CallLog calls;
    RecordingLauncher launcher(calls);
    FakeProcessRunner inner;
    AppletRunner runner(inner, launcher);

    EXPECT_EQ(runner.start(kPowerAppletCommand, SW_SHOWMINIMIZED), nullptr);
    runner.start("POWERCFG /SETACTIVE \"Max Battery\"", SW_HIDE);
    runner.startCaptured("POWERCFG /LIST");

    EXPECT_EQ(calls.lines(), std::vector<std::string>({"> StartProcess \"rundll32.exe "
                                                       "shell32.dll,Control_RunDLL "
                                                       "powercfg.cpl,,1\" 2"}));
    EXPECT_EQ(inner.started, (std::vector<std::pair<std::string, int>>{
                                 {"POWERCFG /SETACTIVE \"Max Battery\"", SW_HIDE}}));
    EXPECT_EQ(inner.captured, std::vector<std::string>({"POWERCFG /LIST"}));
}

}  // namespace
}  // namespace tv
