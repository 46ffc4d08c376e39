// The About window's texts from what the start-up found out. Its buttons and the
// version are checked through the view.

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
    frmAbout form{
        runtime,
        {"6.4.2", "3.40.1", "/home/ann/.config/tolvane/registry.db", "/home/ann/.config/autostart",
         "/sys/class/power_supply", "/usr/lib/tolvane", true},
        launcher};
    AboutRig() { form.Show(); }
};

TEST(AboutWindow, ShowsTheLibrariesAndWhereThingsLive) {
    AboutRig rig;
    EXPECT_EQ(rig.form.Caption, "About Tolvane");
    EXPECT_NE(rig.form.lblLicence.Caption.find("MIT licence"), std::string::npos);
    EXPECT_EQ(rig.form.lblLibraries.Caption, "Built on Qt 6.4.2 and SQLite 3.40.1.");
    EXPECT_EQ(rig.form.lblStore.Caption, "Settings:  /home/ann/.config/tolvane/registry.db");
    EXPECT_EQ(rig.form.lblAutostart.Caption,
              "Start at login:  /home/ann/.config/autostart/Tolvane.desktop");
    EXPECT_EQ(rig.form.lblPowerSupply.Caption,
              "Power readings:  UPower, else /sys/class/power_supply");
}

}  // namespace
}  // namespace tv
