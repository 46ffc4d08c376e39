// powercfg: power schemes in the per-user registry store. See docs/powercfg.md.

#include <iostream>
#include <memory>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "runtime/cli_manners.h"
#include "tools/powercfg/powercfg_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::optional<int> code =
            tv::answerCommandLine({"powercfg", tv::powercfg::usageText(), tv::Arguments::Words},
                                  args, std::cout, std::cerr)) {
        return *code;
    }
    tv::EnvironmentLookup environment = tv::processEnvironment();
    tv::StorePaths paths = tv::resolveStorePaths(environment);
    std::unique_ptr<tv::SqliteRegistry> registry;
    std::unique_ptr<tv::powercfg::SchemeStore> store;
    // Opened only once the command line is known to be valid.
    auto openStore = [&]() -> tv::powercfg::SchemeStore& {
        registry = std::make_unique<tv::SqliteRegistry>(paths.registry, paths.autostartDir,
                                                        tv::seedRegistry);
        store = std::make_unique<tv::powercfg::SchemeStore>(
            *registry, [&](const std::function<long()>& body) { return registry->transact(body); });
        return *store;
    };
    try {
        tv::powercfg::Machine machine{
            environment("TOLVANE_POWER_STATE_FILE").value_or("/sys/power/state"),
            environment("TOLVANE_SYSFS_ROOT").value_or("/sys")};
        int code = tv::powercfg::runPowercfg(args, openStore, machine, std::cout, std::cerr);
        // Damaged pages read as missing data; the output cannot be trusted then.
        if (registry && !registry->damage().empty()) {
            std::cout.flush();
            std::cerr << "powercfg: " << registry->damage() << '\n';
            return 1;
        }
        return code;
    } catch (const std::exception& error) {
        std::cerr << "powercfg: " << error.what() << '\n';
        return 1;
    }
}
