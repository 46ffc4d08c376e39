// Cost of one RegReadString on a file-backed store from a warm process: the monitor
// reads four values every refresh.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "platform/registry_seed.h"
#include "platform/registry_sqlite.h"
#include "registry/active_scheme.h"
#include "registry/general.h"

namespace {

class SilentDialogs : public tv::Dialogs {
  public:
    void MsgBox(const std::string&, int, const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

std::string benchStorePath() {
    return (std::filesystem::temp_directory_path() /
            ("registry-bench-" + std::to_string(getpid()) + ".db"))
        .string();
}

void BM_RegReadString(benchmark::State& state) {
    std::string path = benchStorePath();
    {
        tv::SqliteRegistry store(path, std::string(), tv::seedRegistry);
        SilentDialogs dialogs;
        tv::General general(store, dialogs, "Tolvane");
        for (auto _ : state) {
            benchmark::DoNotOptimize(
                general.RegReadString(tv::kPowerCfgPath, "CurrentPowerPolicy"));
        }
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
}
BENCHMARK(BM_RegReadString);

void BM_GetActiveSchemeName(benchmark::State& state) {
    std::string path = benchStorePath();
    {
        tv::SqliteRegistry store(path, std::string(), tv::seedRegistry);
        SilentDialogs dialogs;
        tv::General general(store, dialogs, "Tolvane");
        for (auto _ : state) {
            benchmark::DoNotOptimize(tv::GetActiveSchemeName(general));
        }
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
}
BENCHMARK(BM_GetActiveSchemeName);

}  // namespace

BENCHMARK_MAIN();
