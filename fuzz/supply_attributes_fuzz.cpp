// The power-supply attributes on any values: "name=value" lines, a blank line between
// supplies. The status is always one the platform could report.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/power_status_sysfs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<tv::SupplyAttributes> supplies(1);
    for (std::string line; std::getline(lines, line);) {
        std::string::size_type equals = line.find('=');
        if (line.empty()) {
            supplies.emplace_back();
        } else if (equals != std::string::npos) {
            supplies.back()[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    tv::SYSTEM_POWER_STATUS status = tv::powerStatusOf(supplies);
    bool percentKnown = status.BatteryLifePercent != tv::BATTERY_PERCENTAGE_UNKNOWN;
    if ((percentKnown && status.BatteryLifePercent > 100) ||
        (percentKnown && status.BatteryFlag == tv::BATTERY_FLAG_UNKNOWN)) {
        __builtin_trap();
    }
    return 0;
}
