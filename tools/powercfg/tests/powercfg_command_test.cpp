#include "policy/default_schemes.h"
#include "registry/active_scheme.h"
#include "runtime/testing/recording_dialogs.h"
#include "tools/powercfg/tests/powercfg_fixture.h"

namespace tv::powercfg::testing {
namespace {

const char* kSixSchemes = R"(Existing Power Schemes
----------------------
Home/Office Desk
Portable/Laptop
Presentation
Always On
Minimal Power Management
Max Battery
)";

std::string queryLine(const Result& r, const std::string& label) {
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with(label)) {
            return line;
        }
    }
    return "";
}

std::string row45(const std::string& label) {
    return label + std::string(27 - label.size(), ' ') + "After 45 mins";
}

using PowercfgList = PowercfgTest;

TEST_F(PowercfgList, ListsTheSeededSchemesByNumber) {
    Result r = run({"/LIST"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, kSixSchemes);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(run({"/list"}).out, kSixSchemes);
}

TEST_F(PowercfgList, OrdersByNumberNotText) {
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(run({"/CREATE", "Extra " + std::to_string(i)}).code, 0);
    }
    Result r = run({"/LIST"});
    EXPECT_TRUE(
        r.out.ends_with("Max Battery\nExtra 0\nExtra 1\nExtra 2\nExtra 3\nExtra 4\nExtra 5\n"));
}

TEST_F(PowercfgList, SkipsKeysThatAreNoSchemes) {
    HKEY key = 0;
    registry_.RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg\\PowerPolicies\\Backup",
                              &key);
    registry_.RegCloseKey(key);
    registry_.RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg\\PowerPolicies\\9", &key);
    registry_.RegCloseKey(key);
    EXPECT_EQ(run({"/LIST"}).out, kSixSchemes);
}

TEST_F(PowercfgList, TakesNoArguments) {
    expectRefused({"/LIST", "x"}, "usage: powercfg /LIST");
}

using PowercfgQuery = PowercfgTest;

TEST_F(PowercfgQuery, ShowsEveryFieldInOneColumn) {
    Result r = run({"/QUERY", "Home/Office Desk"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, R"(Field Description          Value
-----------------          -----
Name                       Home/Office Desk
Numerical ID               0
Turn off monitor (AC)      After 20 mins
Turn off monitor (DC)      After 5 mins
Turn off hard disks (AC)   Never
Turn off hard disks (DC)   After 10 mins
System standby (AC)        Never
System standby (DC)        After 5 mins
System hibernates (AC)     Never
System hibernates (DC)     After 20 mins
Processor Throttle (AC)    NONE
Processor Throttle (DC)    ADAPTIVE
)");
}

TEST_F(PowercfgQuery, HibernationIsNotSupportedWithoutDisk) {
    setStates("freeze mem\n");
    Result r = run({"/QUERY", "Portable/Laptop"});
    EXPECT_EQ(queryLine(r, "System hibernates (AC)"), "System hibernates (AC)     Not Supported");
    EXPECT_EQ(queryLine(r, "System hibernates (DC)"), "System hibernates (DC)     Not Supported");
    EXPECT_EQ(queryLine(r, "System standby (AC)"), "System standby (AC)        After 20 mins");
    fs::remove(machine_.powerStateFile);
    EXPECT_EQ(queryLine(run({"/QUERY", "Portable/Laptop"}), "System hibernates (AC)"),
              "System hibernates (AC)     Not Supported");
}

TEST_F(PowercfgQuery, WithoutNameShowsTheActiveScheme) {
    ASSERT_EQ(run({"/SETACTIVE", "Presentation"}).code, 0);
    Result r = run({"/QUERY"});
    EXPECT_EQ(queryLine(r, "Name"), "Name                       Presentation");
    EXPECT_EQ(queryLine(r, "Numerical ID"), "Numerical ID               2");
}

TEST_F(PowercfgQuery, ByNumberWithNumerical) {
    Result r = run({"/QUERY", "5", "/NUMERICAL"});
    EXPECT_EQ(queryLine(r, "Name"), "Name                       Max Battery");
    EXPECT_EQ(queryLine(r, "Turn off monitor (DC)"), "Turn off monitor (DC)      After 1 min");
    EXPECT_EQ(queryLine(r, "Turn off hard disks (DC)"), "Turn off hard disks (DC)   After 3 mins");
    EXPECT_EQ(queryLine(r, "Processor Throttle (DC)"), "Processor Throttle (DC)    DEGRADE");
    EXPECT_EQ(queryLine(run({"/query", "1", "/numerical"}), "System hibernates (AC)"),
              "System hibernates (AC)     After 3 hours");
}

TEST_F(PowercfgQuery, DelayLabels) {
    EXPECT_EQ(delayLabel(0), "Never");
    EXPECT_EQ(delayLabel(30), "After 1 min");
    EXPECT_EQ(delayLabel(60), "After 1 min");
    EXPECT_EQ(delayLabel(119), "After 1 min");
    EXPECT_EQ(delayLabel(45 * 60), "After 45 mins");
    EXPECT_EQ(delayLabel(60 * 60), "After 1 hour");
    EXPECT_EQ(delayLabel(90 * 60), "After 90 mins");
    EXPECT_EQ(delayLabel(300 * 60), "After 5 hours");
}

TEST_F(PowercfgQuery, FillsMissingRecordsFromTheDefaults) {
    // A store made before the records were part of its first contents lacks them.
    for (auto [root, path] : {std::pair{HKEY_CURRENT_USER, std::string(kUserPoliciesKey)},
                              std::pair{HKEY_LOCAL_MACHINE, std::string(kMachinePoliciesKey)}}) {
        HKEY key = 0;
        ASSERT_EQ(registry_.RegOpenKeyExA(root, path + "\\3", 0, KEY_WRITE, &key), ERROR_SUCCESS);
        ASSERT_EQ(registry_.RegDeleteValueA(key, "Policies"), ERROR_SUCCESS);
        registry_.RegCloseKey(key);
    }
    EXPECT_EQ(snapshot().find("\\3|Policies|"), std::string::npos);
    Result r = run({"/QUERY", "Always On"});
    EXPECT_EQ(queryLine(r, "Turn off monitor (DC)"), "Turn off monitor (DC)      After 15 mins");
    EXPECT_NE(snapshot().find("PowerPolicies\\3|Policies|3|"), std::string::npos);
}

TEST_F(PowercfgQuery, RefusesUnknownEmptyAndOverlongNames) {
    expectRefused({"/QUERY", "Nowhere"}, "no power scheme named \"Nowhere\"");
    expectRefused({"/QUERY", "home/office desk"}, "no power scheme named \"home/office desk\"");
    expectRefused({"/QUERY", ""}, "a power scheme name must not be empty");
    expectRefused({"/QUERY", std::string(255, 'x')},
                  "a power scheme name may hold at most 254 bytes");
    expectRefused({"/QUERY", "9", "/NUMERICAL"}, "no power scheme named \"9\"");
    expectRefused({"/QUERY", "two", "/NUMERICAL"}, "not a scheme number: \"two\"");
    expectRefused({"/QUERY", "a", "b"}, "usage: powercfg /QUERY [NAME] [/NUMERICAL]");
}

TEST_F(PowercfgQuery, NoActiveSchemeIsReported) {
    HKEY key = 0;
    registry_.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", 0, KEY_WRITE, &key);
    registry_.RegDeleteValueA(key, "CurrentPowerPolicy");
    registry_.RegCloseKey(key);
    expectRefused({"/QUERY"}, "no active power scheme");
}

TEST_F(PowercfgQuery, ReadsRecordsImportedFromAnotherSystem) {
    // Mains: standby off, hibernation after 2 hours as the idle action; battery: standby
    // after 10 minutes, hibernation 50 minutes later.
    Bytes user(80, 0);
    Bytes machine(64, 0);
    user[0] = 1;
    user[0x04] = 3;
    user[0x1C] = 0x20, user[0x1D] = 0x1C;  // 7200 s
    user[0x10] = 2;
    user[0x20] = 0x58, user[0x21] = 0x02;        // 600 s
    machine[0x20] = 0xB8, machine[0x21] = 0x0B;  // 3000 s
    user[0x26] = 1;
    HKEY key = 0;
    registry_.RegCreateKeyExA(HKEY_CURRENT_USER, std::string(kUserPoliciesKey) + "\\4", &key);
    registry_.RegSetValueExA(key, "Policies", 0, REG_BINARY, user.data(), 80);
    registry_.RegCloseKey(key);
    registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, std::string(kMachinePoliciesKey) + "\\4", &key);
    registry_.RegSetValueExA(key, "Policies", 0, REG_BINARY, machine.data(), 64);
    registry_.RegCloseKey(key);
    Result r = run({"/QUERY", "Minimal Power Management"});
    EXPECT_EQ(queryLine(r, "System standby (AC)"), "System standby (AC)        Never");
    EXPECT_EQ(queryLine(r, "System hibernates (AC)"), "System hibernates (AC)     After 2 hours");
    EXPECT_EQ(queryLine(r, "System standby (DC)"), "System standby (DC)        After 10 mins");
    EXPECT_EQ(queryLine(r, "System hibernates (DC)"), "System hibernates (DC)     After 1 hour");
    EXPECT_EQ(queryLine(r, "Processor Throttle (AC)"), "Processor Throttle (AC)    CONSTANT");
    EXPECT_EQ(queryLine(r, "Turn off monitor (AC)"), "Turn off monitor (AC)      Never");
}

using PowercfgChange = PowercfgTest;

TEST_F(PowercfgChange, EverySettingReadsBack) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/monitor-timeout-ac", "Turn off monitor (AC)"},
        {"/monitor-timeout-dc", "Turn off monitor (DC)"},
        {"/disk-timeout-ac", "Turn off hard disks (AC)"},
        {"/disk-timeout-dc", "Turn off hard disks (DC)"},
        {"/standby-timeout-ac", "System standby (AC)"},
        {"/standby-timeout-dc", "System standby (DC)"},
    };
    for (const auto& [option, label] : cases) {
        ASSERT_EQ(run({"/CHANGE", "Always On", option, "45"}).code, 0) << option;
        EXPECT_EQ(queryLine(run({"/QUERY", "Always On"}), label), row45(label)) << option;
    }
    ASSERT_EQ(run({"/CHANGE", "Always On", "/hibernate-timeout-ac", "180"}).code, 0);
    EXPECT_EQ(queryLine(run({"/QUERY", "Always On"}), "System hibernates (AC)"),
              "System hibernates (AC)     After 3 hours");
    ASSERT_EQ(run({"/CHANGE", "Always On", "/hibernate-timeout-dc", "0"}).code, 0);
    EXPECT_EQ(queryLine(run({"/QUERY", "Always On"}), "System hibernates (DC)"),
              "System hibernates (DC)     Never");
    ASSERT_EQ(run({"/CHANGE", "Always On", "/processor-throttle-ac", "DEGRADE"}).code, 0);
    ASSERT_EQ(run({"/CHANGE", "Always On", "/processor-throttle-dc", "constant"}).code, 0);
    Result r = run({"/QUERY", "Always On"});
    EXPECT_EQ(queryLine(r, "Processor Throttle (AC)"), "Processor Throttle (AC)    DEGRADE");
    EXPECT_EQ(queryLine(r, "Processor Throttle (DC)"), "Processor Throttle (DC)    CONSTANT");
}

TEST_F(PowercfgChange, NeverIsZeroAndSwitchesIgnoreCase) {
    Result r = run({"/change", "Portable/Laptop", "/MONITOR-TIMEOUT-AC", "0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(queryLine(run({"/QUERY", "Portable/Laptop"}), "Turn off monitor (AC)"),
              "Turn off monitor (AC)      Never");
}

TEST_F(PowercfgChange, SeveralSettingsInOneCall) {
    ASSERT_EQ(
        run({"/CHANGE", "1", "/NUMERICAL", "/monitor-timeout-dc", "2", "/disk-timeout-dc", "120"})
            .code,
        0);
    Result r = run({"/QUERY", "Portable/Laptop"});
    EXPECT_EQ(queryLine(r, "Turn off monitor (DC)"), "Turn off monitor (DC)      After 2 mins");
    EXPECT_EQ(queryLine(r, "Turn off hard disks (DC)"), "Turn off hard disks (DC)   After 2 hours");
}

TEST_F(PowercfgChange, BadInputChangesNothing) {
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", "-5"},
                  "not a number of minutes for /monitor-timeout-ac: \"-5\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", "1.5"},
                  "not a number of minutes for /monitor-timeout-ac: \"1.5\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", "999999999"},
                  "not a number of minutes for /monitor-timeout-ac: \"999999999\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", "71582789"},
                  "not a number of minutes for /monitor-timeout-ac: \"71582789\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", ""},
                  "not a number of minutes for /monitor-timeout-ac: \"\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/processor-throttle-dc", "FAST"},
                  "not a throttle policy for /processor-throttle-dc: \"FAST\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac", "5", "/bogus", "1"},
                  "unknown setting: /bogus");
    expectRefused({"/CHANGE", "Portable/Laptop", "/monitor-timeout-ac"},
                  "usage: powercfg /CHANGE NAME [/NUMERICAL] /SETTING VALUE ...");
    expectRefused({"/CHANGE", "Nowhere", "/monitor-timeout-ac", "5"},
                  "no power scheme named \"Nowhere\"");
    expectRefused({"/CHANGE", "Portable/Laptop", "/standby-timeout-ac", "240"},
                  "hibernation must come later than standby");
}

TEST_F(PowercfgChange, LargestMinutesFit) {
    ASSERT_EQ(run({"/CHANGE", "Presentation", "/monitor-timeout-ac", "71582788"}).code, 0);
    EXPECT_EQ(queryLine(run({"/QUERY", "Presentation"}), "Turn off monitor (AC)"),
              "Turn off monitor (AC)      After 71582788 mins");
}

using PowercfgCreate = PowercfgTest;

TEST_F(PowercfgCreate, CopiesTheActiveSchemeUnderTheNextNumber) {
    ASSERT_EQ(run({"/SETACTIVE", "Max Battery"}).code, 0);
    ASSERT_EQ(run({"/CHANGE", "Max Battery", "/monitor-timeout-ac", "7"}).code, 0);
    Result r = run({"/CREATE", "Travel"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out + r.err, "");
    Result q = run({"/QUERY", "Travel"});
    EXPECT_EQ(queryLine(q, "Numerical ID"), "Numerical ID               6");
    EXPECT_EQ(queryLine(q, "Turn off monitor (AC)"), "Turn off monitor (AC)      After 7 mins");
    EXPECT_EQ(queryLine(q, "Processor Throttle (DC)"), "Processor Throttle (DC)    DEGRADE");
}

TEST_F(PowercfgCreate, NamesAreStoredExactly) {
    const std::vector<std::string> names = {R"(x" /DELETE "Portable/Laptop)",
                                            "Ünïcödé ☕",
                                            "  blanks  ",
                                            std::string(254, 'n'),
                                            "-dash-",
                                            "/QUERY"};
    for (const std::string& name : names) {
        ASSERT_EQ(run({"/CREATE", name}).code, 0) << name;
        EXPECT_EQ(queryLine(run({"/QUERY", name}), "Name"), "Name                       " + name);
    }
    EXPECT_EQ(run({"/LIST"}).out.find("Portable/Laptop\n") != std::string::npos, true);
}

TEST_F(PowercfgCreate, BadNamesAreRefused) {
    expectRefused({"/CREATE", "Portable/Laptop"},
                  "a power scheme named \"Portable/Laptop\" already exists");
    expectRefused({"/CREATE", ""}, "a power scheme name must not be empty");
    expectRefused({"/CREATE", std::string(255, 'n')},
                  "a power scheme name may hold at most 254 bytes");
    expectRefused({"/CREATE", "two\nlines"},
                  "a power scheme name must not hold control characters");
    expectRefused({"/CREATE", "tab\there"}, "a power scheme name must not hold control characters");
    expectRefused({"/CREATE", "caf\xe9"}, "a power scheme name must be UTF-8 text");
    expectRefused({"/CREATE"}, "usage: powercfg /CREATE NAME");
    expectRefused({"/CREATE", "a", "b"}, "usage: powercfg /CREATE NAME");
}

TEST_F(PowercfgCreate, NumbersNeverPassTheHighestListedOne) {
    HKEY key = 0;
    ASSERT_EQ(registry_.RegCreateKeyExA(HKEY_CURRENT_USER,
                                        "Control Panel\\PowerCfg\\PowerPolicies\\999999999", &key),
              ERROR_SUCCESS);
    ASSERT_EQ(registry_.RegSetValueExA(key, "Name", 0, REG_SZ,
                                       reinterpret_cast<const std::uint8_t*>("Last"), 5),
              ERROR_SUCCESS);
    registry_.RegCloseKey(key);
    // Past the highest number the lowest free one is taken, and nothing is overwritten.
    ASSERT_EQ(run({"/CREATE", "Gap"}).code, 0);
    ASSERT_EQ(run({"/CREATE", "Gap 2"}).code, 0);
    EXPECT_EQ(queryLine(run({"/QUERY", "Gap"}), "Numerical ID"), "Numerical ID               6");
    EXPECT_EQ(queryLine(run({"/QUERY", "Gap 2"}), "Numerical ID"), "Numerical ID               7");
    EXPECT_TRUE(run({"/LIST"}).out.ends_with("Max Battery\nGap\nGap 2\nLast\n"));
}

using PowercfgDelete = PowercfgTest;

TEST_F(PowercfgDelete, RemovesBothHalvesOfTheScheme) {
    run({"/QUERY", "Presentation"});
    ASSERT_NE(snapshot().find("PowerPolicies\\2|Policies"), std::string::npos);
    Result r = run({"/DELETE", "Presentation"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(snapshot().find("PowerPolicies\\2"), std::string::npos);
    EXPECT_EQ(run({"/LIST"}).out.find("Presentation"), std::string::npos);
}

TEST_F(PowercfgDelete, ByNumber) {
    ASSERT_EQ(run({"/DELETE", "3", "/numerical"}).code, 0);
    EXPECT_EQ(run({"/LIST"}).out.find("Always On"), std::string::npos);
}

TEST_F(PowercfgDelete, ActiveAndUnknownSchemesStay) {
    expectRefused({"/DELETE", "Home/Office Desk"},
                  "\"Home/Office Desk\" is the active power scheme and cannot be deleted");
    expectRefused({"/DELETE", "Nowhere"}, "no power scheme named \"Nowhere\"");
    expectRefused({"/DELETE"}, "usage: powercfg /DELETE NAME [/NUMERICAL]");
}

using PowercfgSetActive = PowercfgTest;

TEST_F(PowercfgSetActive, BothProgramsReadTheNewName) {
    ASSERT_EQ(run({"/SETACTIVE", "Portable/Laptop"}).code, 0);
    ::tv::testing::RecordingDialogs dialogs;
    General general(registry_, dialogs, "Vantrel");
    EXPECT_EQ(GetActiveSchemeName(general), "Portable/Laptop");
    EXPECT_EQ(general.RegReadString(kPowerCfgPath, "CurrentPowerPolicy"), "1");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PowercfgSetActive, ChoosingOrChangingASchemeTurnsOnApplyingSchemes) {
    ::tv::testing::RecordingDialogs dialogs;
    General general(registry_, dialogs, "Vantrel");
    const std::string tolvane = "HKEY_CURRENT_USER\\Software\\Tolvane";
    run({"/QUERY"});
    run({"/CREATE", "Travel"});
    expectRefused({"/CHANGE", "Always On", "/monitor-timeout-ac", "x"},
                  "not a number of minutes for /monitor-timeout-ac: \"x\"");
    EXPECT_NE(general.RegReadString(tolvane, "ApplyPowerScheme"), "1");
    ASSERT_EQ(run({"/SETACTIVE", "Presentation"}).code, 0);
    EXPECT_EQ(general.RegReadString(tolvane, "ApplyPowerScheme"), "1");
    general.RegWriteString(tolvane, "ApplyPowerScheme", "0");
    ASSERT_EQ(run({"/CHANGE", "Always On", "/monitor-timeout-ac", "5"}).code, 0);
    EXPECT_EQ(general.RegReadString(tolvane, "ApplyPowerScheme"), "1");
}

TEST_F(PowercfgSetActive, UnknownSchemeKeepsTheActiveOne) {
    expectRefused({"/SETACTIVE", "Nowhere"}, "no power scheme named \"Nowhere\"");
    expectRefused({"/SETACTIVE", "6", "/NUMERICAL"}, "no power scheme named \"6\"");
}

using PowercfgCommands = PowercfgTest;

TEST_F(PowercfgCommands, UnknownOrMissingCommand) {
    expectRefused({}, "no command given; try powercfg /?");
    expectRefused({"/HIBERNATE", "ON"}, "unknown command: /HIBERNATE");
    expectRefused({"LIST"}, "unknown command: LIST");
}

TEST_F(PowercfgCommands, HelpNamesEveryCommand) {
    Result r = run({"/?"});
    EXPECT_EQ(r.code, 0);
    for (const char* command : {"/LIST", "/QUERY", "/CREATE", "/DELETE", "/SETACTIVE", "/CHANGE",
                                "/AVAILABLESLEEPSTATES", "/DEVICEQUERY"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace tv::powercfg::testing
