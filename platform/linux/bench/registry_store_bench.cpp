// What the monitor pays every refresh: open a key, read one value, close the key, on a
// file-backed store from a process whose connection is already open.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/linux/registry_sqlite.h"

namespace {

std::string tempStore() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tv-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

void OpenQueryClose(benchmark::State& state) {
    std::string dir = tempStore();
    {
        tv::SqliteRegistry registry(dir + "/registry.db", dir + "/autostart");
        std::uint8_t buffer[255];
        for (auto _ : state) {
            tv::HKEY key = 0;
            registry.RegOpenKeyExA(tv::HKEY_CURRENT_USER,
                                   "Control Panel\\PowerCfg\\PowerPolicies\\0", 0, tv::KEY_READ,
                                   &key);
            std::uint32_t size = sizeof buffer;
            std::uint32_t type = tv::REG_SZ;
            long rc = registry.RegQueryValueExA(key, "Name", &type, buffer, &size);
            registry.RegCloseKey(key);
            benchmark::DoNotOptimize(rc);
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(OpenQueryClose)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
