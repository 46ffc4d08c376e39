// powercfg: power schemes in the per-user registry store. See docs/powercfg.md.

#include <cstdlib>
#include <iostream>

#include "platform/registry_seed.h"
#include "platform/registry_sqlite.h"
#include "tools/powercfg/powercfg_command.h"

namespace {

std::string environment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        tv::SqliteRegistry registry(tv::defaultRegistryPath(), std::nullopt, tv::seedRegistry);
        tv::powercfg::SchemeStore store(registry, [&registry](const std::function<long()>& body) {
            return registry.transact(body);
        });
        tv::powercfg::Machine machine{environment("TOLVANE_POWER_STATE_FILE", "/sys/power/state"),
                                      environment("TOLVANE_SYSFS_ROOT", "/sys")};
        return tv::powercfg::runPowercfg(args, store, machine, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "powercfg: " << error.what() << '\n';
        return 1;
    }
}
