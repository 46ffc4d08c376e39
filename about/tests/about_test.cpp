// The About window's texts and buttons, on a recording launcher.

#include <gtest/gtest.h>

#include "about/frm_about.h"
#include "platform/testing/recording_launcher.h"

namespace tv {
namespace {

struct AboutRig {
    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    RecordingLauncher launcher{calls};
    frmAbout form{runtime,
                  {"6.4.2", "3.40.1", "/home/ann/.config/tolvane/registry.db",
                   "/home/ann/.config/autostart", "/tmp/bat", "/usr/lib/tolvane"},
                  launcher};
    AboutRig() { form.Show(); }
};

TEST(AboutWindow, ShowsTheProjectVersionLibrariesAndWhereThingsLive) {
    AboutRig rig;
    EXPECT_EQ(rig.form.Caption, "About Tolvane");
    EXPECT_EQ(rig.form.lblProduct.Caption, "Tolvane " TV_PROJECT_VERSION);
    EXPECT_NE(rig.form.lblLicence.Caption.find("MIT licence"), std::string::npos);
    EXPECT_EQ(rig.form.lblLibraries.Caption, "Built on Qt 6.4.2 and SQLite 3.40.1.");
    EXPECT_EQ(rig.form.lblStore.Caption, "Settings:  /home/ann/.config/tolvane/registry.db");
    EXPECT_EQ(rig.form.lblAutostart.Caption,
              "Start at login:  /home/ann/.config/autostart/Tolvane.desktop");
    EXPECT_EQ(rig.form.lblPowerSupply.Caption, "Power supplies:  /tmp/bat");
}

TEST(AboutWindow, ManualOpensTheHelpFileAndCloseEnds) {
    AboutRig rig;
    rig.form.cmdManual.click();
    EXPECT_EQ(
        rig.calls.lines(),
        std::vector<std::string>{R"(> ShellExecute "open" "/usr/lib/tolvane/Tolvane.chm" "" 1)"});
    EXPECT_TRUE(rig.form.isLoaded());
    rig.form.cmdClose.click();
    EXPECT_FALSE(rig.form.isLoaded());
}

}  // namespace
}  // namespace tv
