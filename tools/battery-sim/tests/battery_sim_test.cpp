#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "monitor/frm_main.h"
#include "monitor/testing/monitor_fakes.h"
#include "platform/linux/power_status_sysfs.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "runtime/testing/poll_until.h"
#include "runtime/testing/temp_dir.h"
#include "tools/battery-sim/battery_model.h"

namespace tv::batterysim {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = std::string(TV_BIN_DIR) + "/battery-sim";

using tv::testing::TempDir;

pid_t spawn(const std::vector<std::string>& args) {
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(kProgram.c_str()));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        int devnull = ::open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        execv(kProgram.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

int run(const std::vector<std::string>& args) {
    pid_t pid = spawn(args);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using tv::testing::pollUntil;

TEST(BatteryModel, FallsOrRisesOnePointPerPeriodAndFollowsThePlugSchedule) {
    Options options;
    options.percent = 80;
    options.secondsPerPoint = 10;
    options.plugAt = {50};
    options.unplugAt = {150};
    BatteryModel model(options);
    model.advanceTo(50);
    EXPECT_DOUBLE_EQ(model.percent(), 75);
    EXPECT_TRUE(model.plugged());
    model.advanceTo(150);
    EXPECT_DOUBLE_EQ(model.percent(), 85);
    EXPECT_FALSE(model.plugged());
    model.advanceTo(2000);
    EXPECT_DOUBLE_EQ(model.percent(), 0);
    model.togglePlug();
    model.advanceTo(3500);
    EXPECT_DOUBLE_EQ(model.percent(), 100);
}

// Held by a charge limit, the battery reads as plugged in and not charging.
TEST(BatteryModel, AChargeLimitHoldsTheChargeAndSaysNotCharging) {
    TempDir dir;
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "70", "--plugged", "--seconds-per-point", "1",
                   "--charge-limit", "80", "--at", "5", "--once"}),
              0);
    SYSTEM_POWER_STATUS s = readPowerSupplyFolder(dir.path());
    EXPECT_EQ(s.BatteryLifePercent, 75);
    EXPECT_EQ(s.BatteryFlag, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING);
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "70", "--plugged", "--seconds-per-point", "1",
                   "--charge-limit", "80", "--at", "60", "--once"}),
              0);
    s = readPowerSupplyFolder(dir.path());
    EXPECT_EQ(s.ACLineStatus, AC_LINE_ONLINE);
    EXPECT_EQ(s.BatteryLifePercent, 80);
    EXPECT_EQ(s.BatteryFlag, BATTERY_FLAG_HIGH);
    EXPECT_EQ(run({"--dir", dir.path(), "--charge-limit", "0"}), 2);
    EXPECT_EQ(run({"--dir", dir.path(), "--flaky-reads", "60"}), 2);
}

// Samples every 5 s of a battery whose charge files fail to read for the last
// flakySeconds of each minute; the reader's percentages from 0 to 60 s.
std::vector<int> flakySamples(double flakySeconds) {
    TempDir dir;
    Options options;
    options.dir = dir.path();
    options.percent = 50;
    options.secondsPerPoint = 1000;
    options.flakySeconds = flakySeconds;
    BatteryModel model(options);
    SysfsPowerStatus power(dir.path());
    std::vector<int> percents;
    for (int t = 0; t <= 60; t += 5) {
        model.advanceTo(t);
        std::string error;
        EXPECT_TRUE(writeSupplyFolder(dir.path(), model, false, error)) << error;
        SYSTEM_POWER_STATUS s;
        power.GetSystemPowerStatus(s);
        percents.push_back(s.BatteryLifePercent);
    }
    return percents;
}

TEST(SimulatedBattery, ShortReadErrorsKeepTheLastReadingLongOnesDoNot) {
    std::vector<int> oneSample(12, 49);
    oneSample.push_back(49);
    oneSample[0] = 50;
    EXPECT_EQ(flakySamples(5), oneSample);
    // Five samples lost: three are held, then the loss shows.
    std::vector<int> fiveSamples = oneSample;
    fiveSamples[10] = fiveSamples[11] = BATTERY_PERCENTAGE_UNKNOWN;
    EXPECT_EQ(flakySamples(25), fiveSamples);
}

TEST(BatterySimProgram, BadArgumentsExitWithTwo) {
    TempDir dir;
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"--dir", dir.path(), "--percent", "120"}), 2);
    EXPECT_EQ(run({"--dir", dir.path(), "--percent", "x"}), 2);
    EXPECT_EQ(run({"--dir", dir.path(), "--seconds-per-point", "0"}), 2);
    EXPECT_EQ(run({"--dir", dir.path(), "--loud"}), 2);
    EXPECT_EQ(run({"--dir"}), 2);
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_THROW(parseOptions({"--percent", "50"}), std::invalid_argument);
}

TEST(BatterySimProgram, OnceWritesAFolderTheMonitorReads) {
    TempDir dir;
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "80", "--once"}), 0);
    SYSTEM_POWER_STATUS s = readPowerSupplyFolder(dir.path());
    EXPECT_EQ(s.ACLineStatus, 0);
    EXPECT_EQ(s.BatteryLifePercent, 80);
    EXPECT_EQ(s.BatteryFlag, 1);
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "20", "--plugged", "--once"}), 0);
    s = readPowerSupplyFolder(dir.path());
    EXPECT_EQ(s.ACLineStatus, 1);
    EXPECT_EQ(s.BatteryFlag, 10);
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "80", "--seconds-per-point", "10", "--plug-at",
                   "50", "--at", "60", "--once"}),
              0);
    EXPECT_EQ(readPowerSupplyFolder(dir.path()).BatteryLifePercent, 76);
    ASSERT_EQ(run({"--dir", dir.path(), "--no-battery", "--once"}), 0);
    s = readPowerSupplyFolder(dir.path());
    EXPECT_EQ(s.BatteryFlag, 128);
    EXPECT_EQ(s.ACLineStatus, 1);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().extension(), ".tmp");
    }
}

TEST(BatterySimProgram, UnwritableFolderExitsWithOne) {
    EXPECT_EQ(run({"--dir", "/proc/no-such-folder", "--once"}), 1);
}

TEST(BatterySimProgram, LiveRunFallsAndTogglesOnSignal) {
    TempDir dir;
    pid_t pid = spawn({"--dir", dir.path(), "--percent", "90", "--seconds-per-point", "0.02"});
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(pollUntil([&] {
        SYSTEM_POWER_STATUS s = readPowerSupplyFolder(dir.path());
        return s.BatteryLifePercent < 85 && s.ACLineStatus == 0;
    }));
    kill(pid, SIGUSR1);
    EXPECT_TRUE(pollUntil([&] { return readPowerSupplyFolder(dir.path()).ACLineStatus == 1; }));
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// The monitor's logic on the Linux power source over the simulated battery.
TEST(SimulatedBattery, MonitorSeesTheChargeFall) {
    TempDir dir;
    ASSERT_EQ(run({"--dir", dir.path(), "--percent", "80", "--once"}), 0);
    VirtualClock clock;
    FormRuntime runtime(clock);
    CallLog calls;
    SysfsPowerStatus power(dir.path());
    SqliteRegistry registry(":memory:", std::nullopt, seedRegistry);
    tv::testing::MonitorFakes fakes(calls, registry);
    frmMain main(runtime, fakes.usePower(power).services());
    main.Show();
    EXPECT_EQ(main.Caption, "Battery Power Remaining: 80%");
    EXPECT_EQ(main.lblPower.Caption, "Power Source:  Battery");

    pid_t pid = spawn({"--dir", dir.path(), "--percent", "79.9", "--seconds-per-point", "0.05"});
    ASSERT_TRUE(
        pollUntil([&] { return readPowerSupplyFolder(dir.path()).BatteryLifePercent < 78; }));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    runtime.runTimersUntil(clock.nowMs() + 5000);
    EXPECT_LT(main.XP_ProgressBar1.value(), 78);
    EXPECT_NE(main.Caption, "Battery Power Remaining: 80%");
    EXPECT_TRUE(main.tmrCalc.Enabled());
}

}  // namespace
}  // namespace tv::batterysim
