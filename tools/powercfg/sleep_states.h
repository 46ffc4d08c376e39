#pragma once
// What the machine offers: its sleep states (from the kernel's power state file) and
// the devices that can wake it (from sysfs).

#include <string>
#include <vector>

namespace tv::powercfg {

struct SleepStates {
    bool s1 = false;         // "freeze" or "standby"
    bool s3 = false;         // "mem"
    bool hibernate = false;  // "disk"
};

// The words of the power state file; a missing file offers nothing.
SleepStates readSleepStates(const std::string& stateFile);
SleepStates parseSleepStates(const std::string& text);

// The availability report: the first line names every available state in one line
// ("... on this system: Standby ( S1 S3 ) Hibernate"); the rest lists what is missing.
std::string formatSleepStates(const SleepStates& states);

struct WakeDevice {
    std::string name;
    bool armed = false;  // wakeup currently enabled
};

// Devices below sysfsRoot/bus/*/devices/* whose power/wakeup reads "enabled" or
// "disabled", named by their product or name attribute when they have one; when no
// bus offers any, the wakeup sources of sysfsRoot/class/wakeup/*/name. Sorted by
// name, each name once.
std::vector<WakeDevice> readWakeDevices(const std::string& sysfsRoot);

}  // namespace tv::powercfg
