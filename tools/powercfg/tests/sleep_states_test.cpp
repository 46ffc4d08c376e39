#include "tools/powercfg/sleep_states.h"

#include "tools/powercfg/tests/powercfg_fixture.h"

namespace tv::powercfg::testing {
namespace {

TEST(SleepStateFile, WordsMapToStates) {
    SleepStates all = parseSleepStates("freeze mem disk\n");
    EXPECT_TRUE(all.s1 && all.s3 && all.hibernate);
    SleepStates standbyWord = parseSleepStates("standby");
    EXPECT_TRUE(standbyWord.s1);
    EXPECT_FALSE(standbyWord.s3 || standbyWord.hibernate);
    SleepStates none = parseSleepStates("");
    EXPECT_FALSE(none.s1 || none.s3 || none.hibernate);
    EXPECT_FALSE(parseSleepStates("memory disks").s3);
}

TEST(SleepStateReport, FirstStateSitsAtColumns68And69) {
    std::string report = formatSleepStates(parseSleepStates("freeze mem disk"));
    std::string first = report.substr(0, report.find('\n'));
    EXPECT_EQ(
        first,
        "The following sleep states are available on this system: Standby ( S1 S3 ) Hibernate");
    EXPECT_EQ(first.substr(67, 2), "S1");
    std::string memOnly = formatSleepStates(parseSleepStates("mem"));
    EXPECT_EQ(memOnly.substr(67, 2), "S3");
    EXPECT_EQ(memOnly, R"(The following sleep states are available on this system: Standby ( S3 )
The following sleep states are not available on this system:
Standby ( S1 S2 )
	The system firmware does not support this standby state.
Hibernate
	Hibernation is not available on this system.
)");
}

TEST(SleepStateReport, NoStandbySaysSoOnItsOwnLine) {
    EXPECT_EQ(formatSleepStates(parseSleepStates("disk")),
              R"(The following sleep states are available on this system: Hibernate
The following sleep states are not available on this system:
Standby
	The system does not offer standby.
)");
    std::string nothing = formatSleepStates(parseSleepStates(""));
    EXPECT_TRUE(nothing.starts_with("The following sleep states are available on this system:\n"));
}

using PowercfgSleepStates = PowercfgTest;

TEST_F(PowercfgSleepStates, ReportsTheMachinesStates) {
    Result r = run({"/AVAILABLESLEEPSTATES"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, formatSleepStates(parseSleepStates("freeze mem disk")));
    fs::remove(machine_.powerStateFile);
    EXPECT_EQ(run({"/availablesleepstates"}).out, formatSleepStates(SleepStates{}));
    expectRefused({"/AVAILABLESLEEPSTATES", "x"}, "usage: powercfg /AVAILABLESLEEPSTATES");
}

using PowercfgDevices = PowercfgTest;

TEST_F(PowercfgDevices, ListsDevicesThatCanWake) {
    addDevice("usb", "1-1", "enabled", "USB Receiver");
    addDevice("acpi", "PNP0C0C:00", "enabled");
    addDevice("pci", "0000:00:14.0", "disabled");
    addDevice("pci", "0000:00:02.0", "");  // cannot wake at all
    Result r = run({"/DEVICEQUERY", "S3_supported"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, R"(Device query - S3_supported
---------------------------
0000:00:14.0
PNP0C0C:00
USB Receiver
)");
    EXPECT_EQ(run({"/DEVICEQUERY", "wake_armed"}).out, R"(Device query - wake_armed
-------------------------
PNP0C0C:00
USB Receiver
)");
}

TEST_F(PowercfgDevices, FlagsIgnoreCaseAndMissingStatesListNothing) {
    addDevice("usb", "1-1", "enabled", "USB Receiver");
    setStates("freeze disk");
    EXPECT_EQ(run({"/DEVICEQUERY", "s3_SUPPORTED"}).out,
              "Device query - S3_supported\n---------------------------\n");
    EXPECT_EQ(run({"/DEVICEQUERY", "S1_supported"}).out,
              "Device query - S1_supported\n---------------------------\nUSB Receiver\n");
    EXPECT_EQ(run({"/DEVICEQUERY", "S2_supported"}).out,
              "Device query - S2_supported\n---------------------------\n");
}

TEST_F(PowercfgDevices, FallsBackToWakeupSources) {
    for (const char* name : {"alarmtimer.0.auto", "PNP0C0D:00"}) {
        fs::path source = root_ / "sys" / "class" / "wakeup" / (std::string("wakeup") + name[0]);
        fs::create_directories(source);
        std::ofstream(source / "name") << name << '\n';
    }
    EXPECT_EQ(
        run({"/DEVICEQUERY", "all_devices"}).out,
        "Device query - all_devices\n--------------------------\nPNP0C0D:00\nalarmtimer.0.auto\n");
}

TEST_F(PowercfgDevices, UnknownFlagIsRefused) {
    expectRefused({"/DEVICEQUERY", "_supported"}, "unknown device query: \"_supported\"");
    expectRefused({"/DEVICEQUERY"}, "usage: powercfg /DEVICEQUERY QUERY_FLAG");
}

}  // namespace
}  // namespace tv::powercfg::testing
