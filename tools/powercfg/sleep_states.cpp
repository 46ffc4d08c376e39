#include "tools/powercfg/sleep_states.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace tv::powercfg {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

std::string friendlyName(const fs::path& device) {
    for (const char* attribute : {"product", "name"}) {
        if (auto text = firstLine(device / attribute); text && !text->empty()) {
            return *text;
        }
    }
    return device.filename().string();
}

void addBusDevices(const fs::path& root, std::map<std::string, bool>& found) {
    std::error_code error;
    for (const auto& bus : fs::directory_iterator(root / "bus", error)) {
        std::error_code inner;
        for (const auto& device : fs::directory_iterator(bus.path() / "devices", inner)) {
            std::optional<std::string> wakeup = firstLine(device.path() / "power" / "wakeup");
            if (wakeup == "enabled" || wakeup == "disabled") {
                bool& armed = found[friendlyName(device.path())];
                armed = armed || *wakeup == "enabled";
            }
        }
    }
}

void addWakeupSources(const fs::path& root, std::map<std::string, bool>& found) {
    std::error_code error;
    for (const auto& source : fs::directory_iterator(root / "class" / "wakeup", error)) {
        if (auto name = firstLine(source.path() / "name"); name && !name->empty()) {
            found[*name] = true;
        }
    }
}

}  // namespace

SleepStates parseSleepStates(const std::string& text) {
    SleepStates states;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        states.s1 = states.s1 || word == "freeze" || word == "standby";
        states.s3 = states.s3 || word == "mem";
        states.hibernate = states.hibernate || word == "disk";
    }
    return states;
}

SleepStates readSleepStates(const std::string& stateFile) {
    std::ifstream in(stateFile);
    std::ostringstream text;
    text << in.rdbuf();
    return parseSleepStates(text.str());
}

std::string formatSleepStates(const SleepStates& states) {
    std::string available;
    if (states.s1 || states.s3) {
        available += " Standby (";
        available += states.s1 ? " S1" : "";
        available += states.s3 ? " S3" : "";
        available += " )";
    }
    if (states.hibernate) {
        available += " Hibernate";
    }
    std::string out = "The following sleep states are available on this system:" + available + "\n";
    out += "The following sleep states are not available on this system:\n";
    if (!states.s1 && !states.s3) {
        out += "Standby\n\tThe system does not offer standby.\n";
    } else {
        std::string missing = states.s1 ? "" : " S1";
        missing += " S2";
        missing += states.s3 ? "" : " S3";
        out += "Standby (" + missing +
               " )\n\tThe system firmware does not support this standby state.\n";
    }
    if (!states.hibernate) {
        out += "Hibernate\n\tHibernation is not available on this system.\n";
    }
    return out;
}

std::vector<WakeDevice> readWakeDevices(const std::string& sysfsRoot) {
    std::map<std::string, bool> found;
    addBusDevices(sysfsRoot, found);
    if (found.empty()) {
        addWakeupSources(sysfsRoot, found);
    }
    std::vector<WakeDevice> devices;
    for (const auto& [name, armed] : found) {
        devices.push_back({name, armed});
    }
    return devices;
}

}  // namespace tv::powercfg
