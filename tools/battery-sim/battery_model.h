#pragma once
// The simulated battery: a charge that falls or rises one point per given number of
// seconds, plugged and unplugged at given times or by request, written out as a
// Linux power-supply folder.

#include <string>
#include <vector>

namespace tv::batterysim {

struct Options {
    std::string dir;
    double percent = 80;
    double secondsPerPoint = 36;
    bool plugged = false;
    std::vector<double> plugAt;
    std::vector<double> unplugAt;
    bool noBattery = false;
    // Plugged in, the charge stops rising here and the battery says "Not charging".
    double chargeLimit = 100;
    // Seconds of every minute (from second 60 - N on) in which BAT0's charge files
    // cannot be read, as with a busy driver; 0 for none.
    double flakySeconds = 0;
    bool once = false;
    double at = 0;  // with once: the state this many seconds after the start
};

// Reads the command line; throws std::invalid_argument with a one-line message.
Options parseOptions(const std::vector<std::string>& args);
std::string usage();

class BatteryModel {
  public:
    explicit BatteryModel(const Options& options);

    // Moves to the given time (seconds since the start), plugging and unplugging at
    // the scheduled times on the way. Time never goes back.
    void advanceTo(double seconds);
    void togglePlug() { plugged_ = !plugged_; }

    double percent() const { return percent_; }
    bool plugged() const { return plugged_; }
    // Plugged in and held at the charge limit below full.
    bool held() const { return plugged_ && chargeLimit_ < 100 && percent_ >= chargeLimit_; }
    // Whether the charge files are unreadable now (--flaky-reads).
    bool readsFail() const;

  private:
    void drift(double seconds);

    double secondsPerPoint_;
    double chargeLimit_;
    double flakySeconds_;
    double percent_;
    bool plugged_;
    double time_ = 0;
    std::vector<std::pair<double, bool>> events_;  // time, plugged afterwards; sorted
    size_t nextEvent_ = 0;
};

// Writes BAT0/ and AC/ (or only AC/ without a battery); each file is replaced
// atomically. False with a message when the folder cannot be written.
bool writeSupplyFolder(const std::string& dir, const BatteryModel& model, bool noBattery,
                       std::string& error);

}  // namespace tv::batterysim
