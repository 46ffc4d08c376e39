// Cost of one RegReadString on a file-backed store from a warm process: the monitor
// reads four values every refresh.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <memory>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "registry/active_scheme.h"
#include "registry/general.h"
#include "runtime/testing/temp_dir.h"

namespace {

class SilentDialogs : public tv::Dialogs {
  public:
    void MsgBox(const std::string&, int, const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

// A warm process: one store and one module for all iterations, as in the monitor.
class WarmStore {
  public:
    WarmStore()
        : store_(std::make_unique<tv::SqliteRegistry>(folder_.file("registry.db"), std::string(),
                                                      tv::seedRegistry)),
          general_(*store_, dialogs_, "Tolvane") {}
    tv::General& general() { return general_; }

  private:
    tv::testing::TempDir folder_{"registry-bench"};
    SilentDialogs dialogs_;
    std::unique_ptr<tv::SqliteRegistry> store_;
    tv::General general_;
};

void BM_RegReadString(benchmark::State& state) {
    WarmStore warm;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            warm.general().RegReadString(tv::kPowerCfgPath, "CurrentPowerPolicy"));
    }
}
BENCHMARK(BM_RegReadString);

void BM_GetActiveSchemeName(benchmark::State& state) {
    WarmStore warm;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tv::GetActiveSchemeName(warm.general()));
    }
}
BENCHMARK(BM_GetActiveSchemeName);

}  // namespace

BENCHMARK_MAIN();
