// The About window under Qt: the widgets mirror the logic, the Manual button reaches
// the launcher, and Escape ends the window.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "about/qt/about_view.h"
#include "platform/qt/testing/application.h"
#include "platform/testing/recording_launcher.h"

namespace tv {
namespace {

struct ViewRig {
    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    RecordingLauncher launcher{calls};
    frmAbout form{runtime,
                  {"6.4.2", "3.40.1", "/s/registry.db", "/s/autostart", "/tmp/bat", "/f", false},
                  launcher};
    AboutView view{form, [this] { view.sync(); }};
    bool ended = false;
    ViewRig() {
        view.onUnloaded = [this] { ended = true; };
        form.Show();
        view.sync();
    }
    QString text(const char* name) { return qobject_cast<QLabel*>(view.widgetFor(name))->text(); }
};

TEST(AboutView, MirrorsTheTextsAndForwardsTheButtons) {
    testing::application();
    ViewRig rig;
    EXPECT_TRUE(rig.view.isVisible());
    EXPECT_EQ(rig.view.windowTitle(), "About Tolvane");
    EXPECT_EQ(rig.text("lblProduct"), "Tolvane " TV_PROJECT_VERSION);
    EXPECT_EQ(rig.text("lblPowerSupply"), "Power readings:  /tmp/bat");

    qobject_cast<QPushButton*>(rig.view.widgetFor("cmdManual"))->click();
    EXPECT_EQ(rig.calls.lines(),
              std::vector<std::string>{R"(> ShellExecute "open" "/f/Tolvane.chm" "" 1)"});

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&rig.view, &escape);
    EXPECT_TRUE(rig.ended);
    EXPECT_FALSE(rig.form.isLoaded());
    EXPECT_FALSE(rig.view.isVisible());
}

}  // namespace
}  // namespace tv
