#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/linux/power_status_sysfs.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

// A power-supply folder laid out as the kernel lays it out.
class SupplyFolder {
  public:
    SupplyFolder& add(const std::string& name, const std::map<std::string, std::string>& files) {
        fs::create_directories(dir_ / name);
        for (const auto& [file, text] : files) {
            std::ofstream(dir_ / name / file) << text << '\n';
        }
        return *this;
    }
    SYSTEM_POWER_STATUS read() const { return readPowerSupplyFolder(dir_.string()); }
    std::string path() const { return dir_.string(); }

  private:
    testing::TempDir folder_{"power-supply"};
    fs::path dir_{folder_.path()};
};

void expectStatus(const SYSTEM_POWER_STATUS& s, int ac, int flag, int percent) {
    EXPECT_EQ(s.ACLineStatus, ac);
    EXPECT_EQ(s.BatteryFlag, flag);
    EXPECT_EQ(s.BatteryLifePercent, percent);
}

TEST(SysfsPowerStatus, EnergyBatteryOnBattery) {
    SupplyFolder f;
    f.add("AC", {{"type", "Mains"}, {"online", "0"}});
    f.add("BAT0", {{"type", "Battery"},
                   {"present", "1"},
                   {"status", "Discharging"},
                   {"energy_now", "30000000"},
                   {"energy_full", "50000000"},
                   {"energy_full_design", "57000000"},
                   {"capacity", "61"}});
    // The kernel's own percentage wins over the one computed from energy (60).
    expectStatus(f.read(), 0, 0, 61);
}

TEST(SysfsPowerStatus, ComputedPercentagesRoundDownAndALimitedBatteryIsNotCharging) {
    SupplyFolder f;
    f.add("BAT0", {{"type", "Battery"},
                   {"status", "Charging"},
                   {"energy_now", "49750000"},
                   {"energy_full", "50000000"}});
    // 99.5 % still charging: not yet full.
    expectStatus(f.read(), 1, 9, 99);
    // Held at 80 % by a charge threshold: plugged in, not charging.
    f.add("BAT0", {{"status", "Not charging"}, {"capacity", "80"}});
    expectStatus(f.read(), 1, 1, 80);
}

TEST(SysfsPowerStatus, ChargeBatteryChargingSetsTheChargingBit) {
    SupplyFolder f;
    f.add("ACAD", {{"type", "Mains"}, {"online", "1"}});
    f.add("BAT1", {{"type", "Battery"},
                   {"status", "Charging"},
                   {"charge_now", "3200000"},
                   {"charge_full", "4000000"},
                   {"voltage_now", "12100000"}});
    expectStatus(f.read(), 1, 9, 80);
}

TEST(SysfsPowerStatus, CapacityIsTheFallback) {
    SupplyFolder f;
    f.add("axp20x-ac", {{"type", "Mains"}, {"online", "1"}});
    f.add("axp20x-battery", {{"type", "Battery"}, {"status", "Charging"}, {"capacity", "20"}});
    expectStatus(f.read(), 1, 10, 20);
}

TEST(SysfsPowerStatus, TwoBatteriesCombineByEnergyNotByAveraging) {
    SupplyFolder f;
    f.add("AC", {{"type", "Mains"}, {"online", "0"}});
    f.add("BAT0", {{"type", "Battery"},
                   {"status", "Unknown"},
                   {"energy_now", "24000000"},
                   {"energy_full", "24000000"},
                   {"capacity", "100"}});
    f.add("BAT1", {{"type", "Battery"},
                   {"status", "Discharging"},
                   {"energy_now", "10800000"},
                   {"energy_full", "72000000"},
                   {"capacity", "15"}});
    // 34.8 of 96 Wh is 36 %; the mean of the two percentages would be 57.
    expectStatus(f.read(), 0, 0, 36);
}

TEST(SysfsPowerStatus, LevelBitsFollowThePlatformThresholds) {
    const std::pair<int, int> cases[] = {{67, 1}, {66, 0}, {33, 0}, {32, 2},
                                         {5, 2},  {4, 6},  {0, 6}};
    for (auto [percent, flag] : cases) {
        SupplyFolder f;
        f.add("AC", {{"type", "Mains"}, {"online", "0"}});
        f.add("BAT0", {{"type", "Battery"},
                       {"status", "Discharging"},
                       {"capacity", std::to_string(percent)}});
        SCOPED_TRACE(percent);
        expectStatus(f.read(), 0, flag, percent);
    }
}

TEST(SysfsPowerStatus, UnreadableBatteryIsUnknown) {
    SupplyFolder f;
    f.add("AC", {{"type", "Mains"}, {"online", "1"}});
    f.add("BAT0", {{"type", "Battery"}, {"status", "Full"}, {"energy_now", "garbage"}});
    expectStatus(f.read(), 1, 255, 255);
}

TEST(SysfsPowerStatus, ZeroFullEnergyFallsBackToCapacity) {
    SupplyFolder f;
    f.add("BAT0", {{"type", "Battery"},
                   {"status", "Discharging"},
                   {"energy_now", "0"},
                   {"energy_full", "0"},
                   {"capacity", "42"}});
    expectStatus(f.read(), 0, 0, 42);
}

TEST(SysfsPowerStatus, NoBatteryIsFlag128) {
    SupplyFolder f;
    f.add("AC", {{"type", "Mains"}, {"online", "1"}});
    expectStatus(f.read(), 1, 128, 255);
    SupplyFolder empty;
    expectStatus(empty.read(), 1, 128, 255);
    expectStatus(readPowerSupplyFolder("/nonexistent/power_supply"), 1, 128, 255);
}

TEST(SysfsPowerStatus, EmptyBaysAndDeviceBatteriesAreSkipped) {
    SupplyFolder f;
    f.add("AC", {{"type", "Mains"}, {"online", "1"}});
    f.add("BAT1", {{"type", "Battery"}, {"present", "0"}});
    f.add("hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "5"}});
    expectStatus(f.read(), 1, 128, 255);
}

TEST(SysfsPowerStatus, LineStatusWithoutAMainsSupply) {
    SupplyFolder usb;
    usb.add("ucsi-source-psy-USBC000:001", {{"type", "USB"}, {"online", "1"}});
    usb.add("BAT0", {{"type", "Battery"}, {"status", "Not charging"}, {"capacity", "80"}});
    expectStatus(usb.read(), 1, 1, 80);
    SupplyFolder discharging;
    discharging.add("BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "80"}});
    expectStatus(discharging.read(), 0, 1, 80);
    SupplyFolder silent;
    silent.add("BAT0", {{"type", "Battery"}, {"status", "Full"}, {"capacity", "100"}});
    expectStatus(silent.read(), 255, 1, 100);
    SupplyFolder mainsWithoutOnline;
    mainsWithoutOnline.add("AC", {{"type", "Mains"}});
    mainsWithoutOnline.add("BAT0", {{"type", "Battery"}, {"status", "Full"}, {"capacity", "100"}});
    expectStatus(mainsWithoutOnline.read(), 255, 1, 100);
}

TEST(SysfsPowerStatus, FolderComesFromTheEnvironment) {
    EXPECT_EQ(powerSupplyDir(fixedEnvironment({{"TOLVANE_POWER_SUPPLY", "/tmp/bat"}})), "/tmp/bat");
    EXPECT_EQ(powerSupplyDir(fixedEnvironment({{"TOLVANE_POWER_SUPPLY", ""}})),
              "/sys/class/power_supply");
}

}  // namespace
}  // namespace tv
