#pragma once
// The powercfg console tool: the command lines the scheme manager sends and the
// output shapes it reads back. main() only opens the store and calls runPowercfg.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/powercfg/scheme_store.h"

namespace tv::powercfg {

struct Machine {
    std::string powerStateFile = "/sys/power/state";
    std::string sysfsRoot = "/sys";
};

// Longest scheme name, in bytes: what the registry module of the programs reads whole.
inline constexpr std::size_t kMaxNameBytes = 254;

// Opens the store the first time a command needs it; may throw std::runtime_error.
using StoreOpener = std::function<SchemeStore&()>;

// What /? and --help print.
std::string usageText();

// args without the program name. Returns the exit code: 0 done, 1 refused (one line
// on err, the store unchanged). The command line is checked before the store is
// opened, so a bad one creates nothing.
int runPowercfg(const std::vector<std::string>& args, const StoreOpener& openStore,
                const Machine& machine, std::ostream& out, std::ostream& err);
int runPowercfg(const std::vector<std::string>& args, SchemeStore& store, const Machine& machine,
                std::ostream& out, std::ostream& err);

// "Never", "After 1 min", "After N mins", "After 1 hour", "After N hours".
std::string delayLabel(std::uint32_t seconds);

}  // namespace tv::powercfg
