// What the monitor pays every refresh: open a key, read one value, close the key, on a
// file-backed store from a process whose connection is already open.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/linux/registry_sqlite.h"
#include "runtime/testing/temp_dir.h"

namespace {

void OpenQueryClose(benchmark::State& state) {
    tv::testing::TempDir dir("registry-store-bench");
    {
        tv::SqliteRegistry registry(dir.file("registry.db"), dir.file("autostart"));
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
}
BENCHMARK(OpenQueryClose)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
