// battery-sim: keeps a Linux power-supply folder (BAT0/, AC/) changing as a battery
// would, so the monitor can run for real on a machine without one
// (TOLVANE_POWER_SUPPLY=DIR). Exit code 2 on bad arguments, 1 when the folder cannot
// be written.

#include <csignal>
#include <ctime>
#include <iostream>
#include <stdexcept>

#include "runtime/cli_manners.h"
#include "tools/battery-sim/battery_model.h"

namespace {

volatile std::sig_atomic_t plugRequests = 0;

extern "C" void onPlugSignal(int) {
    plugRequests = plugRequests + 1;
}

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int runLive(const tv::batterysim::Options& options, tv::batterysim::BatteryModel& model) {
    struct sigaction action {};
    action.sa_handler = onPlugSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
    double start = monotonicSeconds();
    std::sig_atomic_t handled = 0;
    // Short steps keep fast rates smooth and a plug request visible at once.
    const timespec step{0, 50'000'000};
    for (;;) {
        model.advanceTo(monotonicSeconds() - start);
        for (; handled != plugRequests; ++handled) {
            model.togglePlug();
        }
        std::string error;
        if (!tv::batterysim::writeSupplyFolder(options.dir, model, options.noBattery, error)) {
            std::cerr << "battery-sim: " << error << '\n';
            return 1;
        }
        nanosleep(&step, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::optional<int> code = tv::answerCommandLine(
            {"battery-sim", tv::batterysim::usage() + "\n", tv::Arguments::Options}, args,
            std::cout, std::cerr)) {
        return *code;
    }
    tv::batterysim::Options options;
    try {
        options = tv::batterysim::parseOptions(args);
    } catch (const std::invalid_argument& error) {
        std::cerr << tv::usageErrorLine("battery-sim", error.what()) << '\n';
        return tv::kExitUsage;
    }
    tv::batterysim::BatteryModel model(options);
    if (!options.once) {
        return runLive(options, model);
    }
    model.advanceTo(options.at);
    std::string error;
    if (!tv::batterysim::writeSupplyFolder(options.dir, model, options.noBattery, error)) {
        std::cerr << "battery-sim: " << error << '\n';
        return 1;
    }
    return 0;
}
