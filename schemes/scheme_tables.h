#pragma once
// The scheme manager's fixed texts: the three tables (setting label to switch,
// delay label to minutes, throttle policies with their help), the command lines
// and the messages. Trailing blanks are part of the texts.

#include <array>
#include <optional>
#include <string>

namespace tv {

inline constexpr const char* kAppTitle = "Vantrel";

struct SettingRow {
    const char* label;
    const char* switchText;  // ends with one blank
};
inline constexpr std::array<SettingRow, 10> kSettingSwitches = {{
    {"Turn off monitor (AC)", "/monitor-timeout-ac "},
    {"Turn off monitor (DC)", "/monitor-timeout-dc "},
    {"Turn off hard disks (AC)", "/disk-timeout-ac "},
    {"Turn off hard disks (DC)", "/disk-timeout-dc "},
    {"System standby (AC)", "/standby-timeout-ac "},
    {"System standby (DC)", "/standby-timeout-dc "},
    {"System hibernates (AC)", "/hibernate-timeout-ac "},
    {"System hibernates (DC)", "/hibernate-timeout-dc "},
    {"Processor Throttle (AC)", "/processor-throttle-ac "},
    {"Processor Throttle (DC)", "/processor-throttle-dc "},
}};

struct DelayRow {
    const char* label;
    const char* minutes;
};
// In the value box's order: 15 delays, then "Never".
inline constexpr std::array<DelayRow, 16> kDelays = {{
    {"After 1 min", "1"},
    {"After 2 mins", "2"},
    {"After 3 mins", "3"},
    {"After 5 mins", "5"},
    {"After 10 mins", "10"},
    {"After 15 mins", "15"},
    {"After 20 mins", "20"},
    {"After 25 mins", "25"},
    {"After 30 mins", "30"},
    {"After 45 mins", "45"},
    {"After 1 hour", "60"},
    {"After 2 hours", "120"},
    {"After 3 hours", "180"},
    {"After 4 hours", "240"},
    {"After 5 hours", "300"},
    {"Never", "0"},
}};

struct ThrottleRow {
    const char* policy;
    const char* help;
};
inline constexpr std::array<ThrottleRow, 4> kThrottles = {{
    {"NONE",
     "NONE - The microprocessor will operate at the highest performance state at all times.     "},
    {"CONSTANT",
     "CONSTANT - The microprocessor will operate at the lowest performance state at all times."},
    {"DEGRADE",
     "DEGRADE - The microprocessor will operate at the lowest performance state and reduces "
     "performance by applying stop clock throttling as the computer battery drains."},
    {"ADAPTIVE",
     "ADAPTIVE - This automatically adjusts the microprocessor's performance state based on the "
     "demand the computer puts on the microprocessor."},
}};

// The switch of an exact setting label ("Turn off monitor (AC)").
std::optional<std::string> switchForLabel(const std::string& label);
// The minutes of an exact delay label ("After 20 mins" -> "20").
std::optional<std::string> minutesForDelay(const std::string& label);
bool isThrottlePolicy(const std::string& text);
// The information box text: title line and the four paragraphs, two line breaks apart.
std::string throttleHelpText();

inline constexpr const char* kSchemeHeader = "Existing Power Schemes";
inline constexpr const char* kTimeDelay = "Time Delay";
inline constexpr const char* kProcessorSetting = "Processor Setting";
inline constexpr const char* kActivePrefix = "Current Active Power Scheme: ";
inline constexpr const char* kSelectScheme = "Select a Power Scheme from the list";
inline constexpr const char* kSelectItem = "Select an item to change and choose a Time Delay";
inline constexpr const char* kDevicesFound = "Power Saving Devices Found";
inline constexpr const char* kSearching = "Searching for available devices...";
inline constexpr const char* kLinkText = "Windows Control Panel Power Settings";

inline constexpr const char* kListCommand = "POWERCFG /LIST";
inline constexpr const char* kQueryCommand = "POWERCFG /QUERY ";
inline constexpr const char* kChangeCommand = "POWERCFG /CHANGE ";
inline constexpr const char* kCreateCommand = "POWERCFG /CREATE ";
inline constexpr const char* kDeleteCommand = "POWERCFG /DELETE ";
inline constexpr const char* kSetActiveCommand = "POWERCFG /SETACTIVE ";
inline constexpr const char* kSleepStatesCommand = "POWERCFG /AVAILABLESLEEPSTATES";
inline constexpr const char* kDeviceQueryCommand = "POWERCFG /DEVICEQUERY ";
inline constexpr const char* kAppletCommand =
    "rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1";

inline constexpr const char* kApplyMessage =
    "Please select a Power Scheme and feature to change the delay times    ";
inline constexpr const char* kCreateMessage =
    "Please select an existing Power Scheme first.     \r\n"
    "The new Scheme will have the same settings until you change them.     ";
inline constexpr const char* kDeleteMessage = "Please select a Power Scheme to delete     ";
inline constexpr const char* kSetActiveMessage = "Please select a Power Scheme to apply     ";
std::string activeSchemeWarning(const std::string& name);

inline constexpr const char* kNamePrompt = "Enter a name for the new Power Scheme";
inline constexpr const char* kNameTitle = "Power Scheme Name";
inline constexpr const char* kNameDefault = "Enter new name";

}  // namespace tv
