// powercfg: power schemes in the per-user registry store. See docs/powercfg.md.

#include <cstdlib>
#include <iostream>
#include <memory>

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
    std::unique_ptr<tv::SqliteRegistry> registry;
    std::unique_ptr<tv::powercfg::SchemeStore> store;
    auto openStore = [&]() -> tv::powercfg::SchemeStore& {
        registry = std::make_unique<tv::SqliteRegistry>(tv::defaultRegistryPath(), std::nullopt,
                                                        tv::seedRegistry);
        store = std::make_unique<tv::powercfg::SchemeStore>(
            *registry, [&](const std::function<long()>& body) { return registry->transact(body); });
        return *store;
    };
    try {
        tv::powercfg::Machine machine{environment("TOLVANE_POWER_STATE_FILE", "/sys/power/state"),
                                      environment("TOLVANE_SYSFS_ROOT", "/sys")};
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
