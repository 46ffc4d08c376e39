// powercfg: power schemes in the per-user registry store. See docs/powercfg.md.

#include <iostream>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "tools/powercfg/powercfg_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        tv::EnvironmentLookup environment = tv::processEnvironment();
        tv::StorePaths paths = tv::resolveStorePaths(environment);
        tv::SqliteRegistry registry(paths.registry, paths.autostartDir, tv::seedRegistry);
        tv::powercfg::SchemeStore store(registry, [&registry](const std::function<long()>& body) {
            return registry.transact(body);
        });
        tv::powercfg::Machine machine{
            environment("TOLVANE_POWER_STATE_FILE").value_or("/sys/power/state"),
            environment("TOLVANE_SYSFS_ROOT").value_or("/sys")};
        return tv::powercfg::runPowercfg(args, store, machine, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "powercfg: " << error.what() << '\n';
        return 1;
    }
}
