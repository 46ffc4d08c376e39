#include "platform/linux/power_status_sysfs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace tv {

namespace fs = std::filesystem;

namespace {

struct Battery {
    std::optional<double> energyNow;
    std::optional<double> energyFull;
    std::optional<double> chargeNow;
    std::optional<double> chargeFull;
    std::optional<double> capacity;
    std::string status;
};

struct Supplies {
    std::vector<Battery> batteries;
    std::vector<bool> external;  // online state of each mains or USB supply that tells
};

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::string text;
    std::getline(in, text);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

std::optional<double> readNumber(const fs::path& path) {
    std::optional<std::string> text = readText(path);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(text->c_str(), &end);
    if (end == text->c_str() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool isExternalSupply(const std::string& type) {
    // USB-C chargers appear as "USB", "USB_C", "USB_PD"... on laptops without a Mains entry.
    return type == "Mains" || type.rfind("USB", 0) == 0;
}

void readSupply(const fs::path& folder, Supplies& out) {
    std::string type = readText(folder / "type").value_or("");
    if (isExternalSupply(type)) {
        if (std::optional<double> online = readNumber(folder / "online")) {
            out.external.push_back(*online != 0);
        }
        return;
    }
    // A mouse or headset battery is not the machine's.
    if (type != "Battery" || readText(folder / "scope").value_or("") == "Device") {
        return;
    }
    if (std::optional<double> present = readNumber(folder / "present"); present && *present == 0) {
        return;
    }
    Battery battery;
    battery.energyNow = readNumber(folder / "energy_now");
    battery.energyFull = readNumber(folder / "energy_full");
    battery.chargeNow = readNumber(folder / "charge_now");
    battery.chargeFull = readNumber(folder / "charge_full");
    battery.capacity = readNumber(folder / "capacity");
    battery.status = readText(folder / "status").value_or("");
    out.batteries.push_back(battery);
}

Supplies readSupplies(const std::string& dir) {
    std::error_code error;
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    Supplies supplies;
    for (const fs::path& folder : folders) {
        readSupply(folder, supplies);
    }
    return supplies;
}

// Sum of now over sum of full, when every battery has both and the total is not zero.
std::optional<double> combinedRatio(const std::vector<Battery>& batteries,
                                    std::optional<double> Battery::*now,
                                    std::optional<double> Battery::*full) {
    double sumNow = 0;
    double sumFull = 0;
    for (const Battery& battery : batteries) {
        if (!(battery.*now) || !(battery.*full)) {
            return std::nullopt;
        }
        sumNow += *(battery.*now);
        sumFull += *(battery.*full);
    }
    if (sumFull <= 0) {
        return std::nullopt;
    }
    return sumNow / sumFull;
}

std::optional<double> averageCapacity(const std::vector<Battery>& batteries) {
    double sum = 0;
    for (const Battery& battery : batteries) {
        if (!battery.capacity) {
            return std::nullopt;
        }
        sum += *battery.capacity / 100;
    }
    return sum / static_cast<double>(batteries.size());
}

std::optional<int> percentOf(const std::vector<Battery>& batteries) {
    // One battery: the kernel's own figure, which its driver may have calibrated.
    if (batteries.size() == 1 && batteries.front().capacity) {
        return static_cast<int>(std::clamp(*batteries.front().capacity, 0.0, 100.0));
    }
    std::optional<double> ratio =
        combinedRatio(batteries, &Battery::energyNow, &Battery::energyFull);
    if (!ratio) {
        ratio = combinedRatio(batteries, &Battery::chargeNow, &Battery::chargeFull);
    }
    if (!ratio) {
        ratio = averageCapacity(batteries);
    }
    if (!ratio) {
        return std::nullopt;
    }
    // Rounded down: 99.5 % still charging must not read 100 ("Fully Charged").
    return static_cast<int>(std::clamp(std::floor(*ratio * 100 + 1e-9), 0.0, 100.0));
}

bool anyStatus(const std::vector<Battery>& batteries, const std::string& status) {
    return std::any_of(batteries.begin(), batteries.end(),
                       [&](const Battery& battery) { return battery.status == status; });
}

std::uint8_t lineStatusOf(const Supplies& supplies) {
    if (!supplies.external.empty()) {
        bool online = std::find(supplies.external.begin(), supplies.external.end(), true) !=
                      supplies.external.end();
        return online ? AC_LINE_ONLINE : AC_LINE_OFFLINE;
    }
    // Without a supply that tells, the batteries may; a machine without either runs
    // on mains, as the platform reports for desktops.
    // A battery held by a charge limit says "Not charging": it is plugged in.
    if (supplies.batteries.empty() || anyStatus(supplies.batteries, "Charging") ||
        anyStatus(supplies.batteries, "Not charging")) {
        return AC_LINE_ONLINE;
    }
    if (anyStatus(supplies.batteries, "Discharging")) {
        return AC_LINE_OFFLINE;
    }
    return AC_LINE_UNKNOWN;
}

}  // namespace

std::string powerSupplyDir(const EnvironmentLookup& environment) {
    return environment("TOLVANE_POWER_SUPPLY").value_or("/sys/class/power_supply");
}

SYSTEM_POWER_STATUS readPowerSupplyFolder(const std::string& dir) {
    Supplies supplies = readSupplies(dir);
    SYSTEM_POWER_STATUS status;
    status.ACLineStatus = lineStatusOf(supplies);
    if (supplies.batteries.empty()) {
        status.BatteryFlag = BATTERY_FLAG_NO_BATTERY;
        return status;
    }
    if (std::optional<int> percent = percentOf(supplies.batteries)) {
        status.BatteryLifePercent = static_cast<std::uint8_t>(*percent);
        status.BatteryFlag = batteryFlagFor(*percent, anyStatus(supplies.batteries, "Charging"));
    }
    return status;
}

bool isCompleteReading(const SYSTEM_POWER_STATUS& status) {
    return status.ACLineStatus != AC_LINE_UNKNOWN &&
           status.BatteryLifePercent != BATTERY_PERCENTAGE_UNKNOWN &&
           status.BatteryFlag != BATTERY_FLAG_UNKNOWN;
}

bool SysfsPowerStatus::GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) {
    SYSTEM_POWER_STATUS reading = readPowerSupplyFolder(dir_);
    // A battery being re-probed or a busy driver fails a read now and then; the last
    // good reading stands in for a few samples before the loss is believed. A machine
    // without a battery reads incomplete every time and is never held back.
    if (lastGood_ && !isCompleteReading(reading) && missedSamples_ < kHeldSamples) {
        ++missedSamples_;
        status = *lastGood_;
        return true;
    }
    missedSamples_ = 0;
    lastGood_.reset();
    if (isCompleteReading(reading)) {
        lastGood_ = reading;
    }
    status = reading;
    return true;
}

}  // namespace tv
