#include "schemes/scheme_tables.h"

namespace tv {

std::optional<std::string> switchForLabel(const std::string& label) {
    for (const SettingRow& row : kSettingSwitches) {
        if (label == row.label) {
            return row.switchText;
        }
    }
    return std::nullopt;
}

std::optional<std::string> minutesForDelay(const std::string& label) {
    for (const DelayRow& row : kDelays) {
        if (label == row.label) {
            return row.minutes;
        }
    }
    return std::nullopt;
}

bool isThrottlePolicy(const std::string& text) {
    for (const ThrottleRow& row : kThrottles) {
        if (text == row.policy) {
            return true;
        }
    }
    return false;
}

std::string throttleHelpText() {
    std::string text = "Processor Throttle Settings:";
    for (const ThrottleRow& row : kThrottles) {
        text += "\r\n\r\n";
        text += row.help;
    }
    return text;
}

std::string activeSchemeWarning(const std::string& name) {
    return "\"" + name + "\" is the current active Power Scheme.     \r\n" +
           "You must change to another Scheme in order to delete this one.     ";
}

}  // namespace tv
