// Hostile power-supply folders: values that overflow, and files that block or never end.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/linux/power_status_sysfs.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

std::uint8_t percentOf(const std::vector<SupplyAttributes>& supplies) {
    return powerStatusOf(supplies).BatteryLifePercent;
}

TEST(SupplyValues, WhatIsNotAFiniteNumberIsNoReading) {
    SupplyAttributes overflow{{"type", "Battery"},     {"status", "Discharging"},
                              {"energy_now", "1e308"}, {"energy_full", "1e-308"},
                              {"charge_now", "30"},    {"charge_full", "60"}};
    SYSTEM_POWER_STATUS status = powerStatusOf({overflow});
    EXPECT_EQ(status.BatteryLifePercent, 50);  // the next way of reading takes over
    EXPECT_EQ(status.BatteryFlag, 0);

    for (const char* value : {"nan", "inf", "-inf", "1e999", "0x", "++1", "12 volts"}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(percentOf({{{"type", "Battery"}, {"energy_now", value}, {"energy_full", "1"}}}),
                  BATTERY_PERCENTAGE_UNKNOWN);
    }
    SupplyAttributes huge{{"type", "Battery"}, {"energy_full", "1.7e308"}, {"energy_now", "1"}};
    EXPECT_EQ(percentOf({huge, huge}), BATTERY_PERCENTAGE_UNKNOWN);
    EXPECT_EQ(percentOf({{{"type", "Battery"}, {"energy_now", "1e300"}, {"energy_full", "1"}}}),
              100);
}

// A folder of one battery whose files the test then replaces.
class HostileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "BAT0");
        write("type", "Battery\n");
        write("status", "Discharging\n");
        write("capacity", "55\n");
    }

    void write(const std::string& name, const std::string& text) {
        fs::remove(dir_ / "BAT0" / name);
        std::ofstream(dir_ / "BAT0" / name) << text;
    }
    fs::path file(const std::string& name) { return dir_ / "BAT0" / name; }

    // The folder read in a child process, so a reader that blocks or floods fails the
    // test at the deadline instead of hanging it.
    std::optional<SYSTEM_POWER_STATUS> readInChild() {
        int fds[2];
        if (pipe(fds) != 0) {
            return std::nullopt;
        }
        pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            SYSTEM_POWER_STATUS status = readPowerSupplyFolder(dir_.string());
            _exit(::write(fds[1], &status, sizeof status) == sizeof status ? 0 : 1);
        }
        close(fds[1]);
        pollfd answer{fds[0], POLLIN, 0};
        SYSTEM_POWER_STATUS status;
        bool got = poll(&answer, 1, 30'000) == 1 &&
                   ::read(fds[0], &status, sizeof status) == sizeof status;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(fds[0]);
        return got ? std::optional(status) : std::nullopt;
    }

    testing::TempDir folder_{"supply-faults"};
    fs::path dir_ = folder_.path();
};

TEST_F(HostileFolder, AFifoIsNotReadNorWaitedFor) {
    fs::remove(file("status"));
    ASSERT_EQ(mkfifo(file("status").c_str(), 0600), 0);
    std::optional<SYSTEM_POWER_STATUS> status = readInChild();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->BatteryLifePercent, 55);
    EXPECT_EQ(status->ACLineStatus, AC_LINE_UNKNOWN);  // the status text is unknown
}

TEST_F(HostileFolder, EndlessAndOverlongFilesAreNoReading) {
    fs::remove(file("energy_now"));
    fs::create_symlink("/dev/zero", file("energy_now"));
    write("energy_full", "100\n");
    std::optional<SYSTEM_POWER_STATUS> status = readInChild();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->BatteryLifePercent, 55);

    write("capacity", std::string(kMaxAttributeBytes - 3, ' ') + "60\n");
    EXPECT_EQ(readAttributeFile(file("capacity")), std::string(kMaxAttributeBytes - 3, ' ') + "60");
    write("capacity", std::string(kMaxAttributeBytes - 2, ' ') + "60\n");
    EXPECT_EQ(readAttributeFile(file("capacity")), std::nullopt);
    EXPECT_EQ(readAttributeFile(dir_.string()), std::nullopt);  // a folder
}

}  // namespace
}  // namespace tv
