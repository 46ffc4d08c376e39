// powercfg's command line on a fresh in-memory store: each input line is one argument.
// The machine's files are left out, so only the arguments and the store are exercised.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "tools/powercfg/powercfg_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::istringstream lines(input);
    for (std::string line; std::getline(lines, line) && args.size() < 64;) {
        args.push_back(line);
    }
    tv::SqliteRegistry registry(":memory:", std::nullopt, tv::seedRegistry);
    tv::powercfg::SchemeStore store(
        registry, [&](const std::function<long()>& body) { return registry.transact(body); });
    tv::powercfg::Machine machine;
    machine.powerStateFile = "/nonexistent/power/state";
    machine.sysfsRoot = "/nonexistent";
    std::ostringstream out;
    std::ostringstream err;
    int code = tv::powercfg::runPowercfg(args, store, machine, out, err);
    if ((code == 0) != err.str().empty()) {
        __builtin_trap();  // a refusal always says why, and only a refusal does
    }
    return 0;
}
