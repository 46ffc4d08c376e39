#include "tools/battery-sim/battery_model.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tv::batterysim {

namespace fs = std::filesystem;

namespace {

constexpr double kEnergyFull = 50000000;  // microwatt-hours

double numberArg(const std::string& option, const std::string& text, double min, double max) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < min || value > max) {
        throw std::invalid_argument(option + " takes a number from " + std::to_string(int(min)) +
                                    " to " + std::to_string(static_cast<long long>(max)) +
                                    ", not '" + text + "'");
    }
    return value;
}

bool writeFile(const fs::path& path, const std::string& text, std::string& error) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << text << '\n';
        if (!out.flush()) {
            error = "cannot write " + temp.string();
            return false;
        }
    }
    std::error_code code;
    fs::rename(temp, path, code);
    if (code) {
        error = "cannot replace " + path.string() + ": " + code.message();
        return false;
    }
    return true;
}

bool writeAll(const fs::path& folder, const std::vector<std::pair<const char*, std::string>>& files,
              std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        error = "cannot create " + folder.string() + ": " + code.message();
        return false;
    }
    return std::all_of(files.begin(), files.end(), [&](const auto& file) {
        return writeFile(folder / file.first, file.second, error);
    });
}

std::string statusOf(const BatteryModel& model) {
    if (!model.plugged()) {
        return "Discharging";
    }
    if (model.held()) {
        return "Not charging";
    }
    return model.percent() >= 100 ? "Full" : "Charging";
}

}  // namespace

std::string usage() {
    return "usage: battery-sim --dir DIR [--percent N] [--seconds-per-point S] [--plugged]\n"
           "                   [--plug-at T]... [--unplug-at T]... [--no-battery]\n"
           "                   [--charge-limit PERCENT] [--flaky-reads SECONDS]\n"
           "                   [--once [--at T]]\n"
           "SIGUSR1 plugs in or unplugs.";
}

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw std::invalid_argument(option + " needs a value");
            }
            return args[++i];
        };
        if (option == "--dir") {
            options.dir = value();
        } else if (option == "--percent") {
            options.percent = numberArg(option, value(), 0, 100);
        } else if (option == "--seconds-per-point") {
            options.secondsPerPoint = numberArg(option, value(), 0.001, 1e9);
        } else if (option == "--plug-at") {
            options.plugAt.push_back(numberArg(option, value(), 0, 1e9));
        } else if (option == "--unplug-at") {
            options.unplugAt.push_back(numberArg(option, value(), 0, 1e9));
        } else if (option == "--charge-limit") {
            options.chargeLimit = numberArg(option, value(), 1, 100);
        } else if (option == "--flaky-reads") {
            options.flakySeconds = numberArg(option, value(), 0, 59);
        } else if (option == "--at") {
            options.at = numberArg(option, value(), 0, 1e9);
        } else if (option == "--plugged") {
            options.plugged = true;
        } else if (option == "--no-battery") {
            options.noBattery = true;
        } else if (option == "--once") {
            options.once = true;
        } else {
            throw std::invalid_argument("unknown option '" + option + "'");
        }
    }
    if (options.dir.empty()) {
        throw std::invalid_argument("--dir is required");
    }
    return options;
}

BatteryModel::BatteryModel(const Options& options)
    : secondsPerPoint_(options.secondsPerPoint),
      chargeLimit_(options.chargeLimit),
      flakySeconds_(options.flakySeconds),
      percent_(options.percent),
      plugged_(options.plugged) {
    for (double t : options.plugAt) {
        events_.emplace_back(t, true);
    }
    for (double t : options.unplugAt) {
        events_.emplace_back(t, false);
    }
    std::stable_sort(events_.begin(), events_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void BatteryModel::advanceTo(double seconds) {
    while (nextEvent_ < events_.size() && events_[nextEvent_].first <= seconds) {
        drift(events_[nextEvent_].first - time_);
        plugged_ = events_[nextEvent_].second;
        ++nextEvent_;
    }
    drift(seconds - time_);
}

void BatteryModel::drift(double seconds) {
    if (seconds <= 0) {
        return;
    }
    double points = seconds / secondsPerPoint_;
    if (!plugged_) {
        percent_ = std::max(percent_ - points, 0.0);
    } else if (percent_ < chargeLimit_) {
        // A charge above the limit when plugged in stays where it is, as with a real
        // threshold.
        percent_ = std::min(percent_ + points, chargeLimit_);
    }
    time_ += seconds;
}

bool BatteryModel::readsFail() const {
    return flakySeconds_ > 0 && std::fmod(time_, 60.0) >= 60.0 - flakySeconds_;
}

bool writeSupplyFolder(const std::string& dir, const BatteryModel& model, bool noBattery,
                       std::string& error) {
    fs::path root(dir);
    bool online = noBattery || model.plugged();
    if (!writeAll(root / "AC", {{"type", "Mains"}, {"online", online ? "1" : "0"}}, error)) {
        return false;
    }
    if (noBattery) {
        std::error_code ignored;
        fs::remove_all(root / "BAT0", ignored);
        return true;
    }
    auto energy = static_cast<long long>(std::llround(model.percent() / 100 * kEnergyFull));
    std::vector<std::pair<const char*, std::string>> charge = {
        {"energy_now", std::to_string(energy)},
        {"capacity", std::to_string(std::lround(std::floor(model.percent())))}};
    if (model.readsFail()) {
        // Gone for the moment: a read fails as it does while the driver is busy.
        for (const auto& file : charge) {
            std::error_code ignored;
            fs::remove(root / "BAT0" / file.first, ignored);
        }
        charge.clear();
    }
    charge.insert(charge.end(),
                  {{"type", "Battery"},
                   {"present", "1"},
                   {"technology", "Li-ion"},
                   {"status", statusOf(model)},
                   {"energy_full_design", std::to_string(static_cast<long long>(kEnergyFull))},
                   {"energy_full", std::to_string(static_cast<long long>(kEnergyFull))}});
    return writeAll(root / "BAT0", charge, error);
}

}  // namespace tv::batterysim
