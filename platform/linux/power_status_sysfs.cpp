#include "platform/linux/power_status_sysfs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tv {

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

// Files of a supply folder that the status is made from, by the supply's type.
constexpr const char* kExternalAttributes[] = {"online"};
constexpr const char* kBatteryAttributes[] = {"scope",       "present",    "energy_now",
                                              "energy_full", "charge_now", "charge_full",
                                              "capacity",    "status"};

std::string attribute(const SupplyAttributes& supply, const char* name) {
    auto it = supply.find(name);
    return it != supply.end() ? it->second : std::string();
}

std::optional<double> number(const SupplyAttributes& supply, const char* name) {
    std::string text = attribute(supply, name);
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool isExternalSupply(const std::string& type) {
    // USB-C chargers appear as "USB", "USB_C", "USB_PD"... on laptops without a Mains entry.
    return type == "Mains" || type.rfind("USB", 0) == 0;
}

void addSupply(const SupplyAttributes& supply, Supplies& out) {
    std::string type = attribute(supply, "type");
    if (isExternalSupply(type)) {
        if (std::optional<double> online = number(supply, "online")) {
            out.external.push_back(*online != 0);
        }
        return;
    }
    // A mouse or headset battery is not the machine's.
    if (type != "Battery" || attribute(supply, "scope") == "Device") {
        return;
    }
    if (std::optional<double> present = number(supply, "present"); present && *present == 0) {
        return;
    }
    Battery battery;
    battery.energyNow = number(supply, "energy_now");
    battery.energyFull = number(supply, "energy_full");
    battery.chargeNow = number(supply, "charge_now");
    battery.chargeFull = number(supply, "charge_full");
    battery.capacity = number(supply, "capacity");
    battery.status = attribute(supply, "status");
    out.batteries.push_back(battery);
}

// Only the files the supply's type needs are opened, each relative to the folder,
// which is looked up once: this runs every few seconds for as long as the monitor does.
SupplyAttributes readSupply(int classFd, const char* name) {
    SupplyAttributes supply;
    int folderFd = ::openat(classFd, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return supply;
    }
    auto read = [&](const char* file) {
        if (std::optional<std::string> text = readAttributeFile(folderFd, file)) {
            supply[file] = std::move(*text);
        }
    };
    read("type");
    std::string type = attribute(supply, "type");
    if (isExternalSupply(type)) {
        for (const char* file : kExternalAttributes) {
            read(file);
        }
    } else if (type == "Battery") {
        for (const char* file : kBatteryAttributes) {
            read(file);
        }
    }
    ::close(folderFd);
    return supply;
}

std::vector<SupplyAttributes> readSupplies(const std::string& dir) {
    std::vector<SupplyAttributes> supplies;
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr) {
        return supplies;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    std::sort(names.begin(), names.end());
    supplies.reserve(names.size());
    for (const std::string& name : names) {
        supplies.push_back(readSupply(::dirfd(listing), name.c_str()));
    }
    ::closedir(listing);
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
    if (!std::isfinite(sumNow) || !std::isfinite(sumFull) || !(sumFull > 0)) {
        return std::nullopt;
    }
    // Huge or tiny values overflow the sums or the quotient: that is no reading.
    double ratio = sumNow / sumFull;
    return std::isfinite(ratio) ? std::optional<double>(ratio) : std::nullopt;
}

std::optional<double> averageCapacity(const std::vector<Battery>& batteries) {
    double sum = 0;
    for (const Battery& battery : batteries) {
        if (!battery.capacity) {
            return std::nullopt;
        }
        sum += *battery.capacity / 100;
    }
    double average = sum / static_cast<double>(batteries.size());
    return std::isfinite(average) ? std::optional<double>(average) : std::nullopt;
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

std::optional<std::string> readAttributeFile(const std::string& path) {
    return readAttributeFile(AT_FDCWD, path.c_str());
}

std::optional<std::string> readAttributeFile(int folderFd, const char* name) {
    int fd = ::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::string text;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        // One byte more than allowed tells an over-long file from a full one.
        text.resize(kMaxAttributeBytes + 1);
        std::size_t filled = 0;
        while (filled < text.size()) {
            ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        ok = ok && filled <= kMaxAttributeBytes;
        text.resize(filled);
    }
    ::close(fd);
    if (!ok) {
        return std::nullopt;
    }
    text.erase(std::min(text.find('\n'), text.size()));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

SYSTEM_POWER_STATUS powerStatusOf(const std::vector<SupplyAttributes>& attributes) {
    Supplies supplies;
    for (const SupplyAttributes& supply : attributes) {
        addSupply(supply, supplies);
    }
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

SYSTEM_POWER_STATUS readPowerSupplyFolder(const std::string& dir) {
    return powerStatusOf(readSupplies(dir));
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
