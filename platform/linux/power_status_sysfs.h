#pragma once
// The power status read from a Linux power-supply class folder
// (/sys/class/power_supply, or a simulated one).
//
// Mains supplies give ACLineStatus. Batteries of the system (scope "Device" marks a
// mouse or headset battery and is skipped) combine by energy (sum of energy_now over
// sum of energy_full) or by charge, never by averaging percentages, rounding down; a
// single battery reports the kernel's own "capacity" where it has one. BatteryFlag is
// computed as the platform computes it: a battery held below full by a charge limit
// ("Not charging" on mains) has no charging bit.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/environment.h"
#include "platform/power_status.h"

namespace tv {

// The attributes of one supply folder that were read, by file name ("type",
// "energy_now", ...), each its first line without trailing blanks.
using SupplyAttributes = std::map<std::string, std::string>;

// The status the supplies describe; pure, so hostile values are tested without files.
// A value that is not a finite number is no reading.
SYSTEM_POWER_STATUS powerStatusOf(const std::vector<SupplyAttributes>& supplies);

// Attribute files are a line of text; anything longer is not one.
inline constexpr std::size_t kMaxAttributeBytes = 4096;

// One attribute file's first line, or nothing when it is not a regular file, cannot be
// read without waiting, or holds more than kMaxAttributeBytes: a FIFO or a link to an
// endless device in the folder must not stall or flood the monitor.
std::optional<std::string> readAttributeFile(const std::string& path);
// The same for a file of an open folder (AT_FDCWD: name is a path).
std::optional<std::string> readAttributeFile(int folderFd, const char* name);

// $TOLVANE_POWER_SUPPLY when set and not empty, else /sys/class/power_supply.
std::string powerSupplyDir(const EnvironmentLookup& environment);

// One reading of the folder; never throws, unreadable parts read as unknown.
SYSTEM_POWER_STATUS readPowerSupplyFolder(const std::string& dir);

// Whether a reading has the power source, a percentage and the flags.
bool isCompleteReading(const SYSTEM_POWER_STATUS& status);

// Reads the folder on every sample. A reading that loses part of a complete one (a
// read error, a battery folder briefly gone) is replaced by the last complete reading
// for up to kHeldSamples samples in a row; a loss that lasts longer is reported.
class SysfsPowerStatus : public PowerStatusSource {
  public:
    static constexpr int kHeldSamples = 3;

    explicit SysfsPowerStatus(std::string dir) : dir_(std::move(dir)) {}
    bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override;
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
    std::optional<SYSTEM_POWER_STATUS> lastGood_;
    int missedSamples_ = 0;
};

}  // namespace tv
