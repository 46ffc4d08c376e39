// reg query and reg export of one key holding many values, as a user runs them: each
// run opens the store file afresh. Goal: 20,000 values in under 0.2 s, linear in the
// count (compare the three sizes).

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <sstream>

#include "platform/linux/registry_sqlite.h"
#include "runtime/testing/temp_dir.h"
#include "tools/reg/reg_run.h"

namespace {

long noSeed(tv::RegistryApi&) {
    return tv::ERROR_SUCCESS;
}

// One store file per value count, made once for all benchmarks of that count.
class BigKey {
  public:
    explicit BigKey(int values) : dir_("reg-bench") {
        tv::SqliteRegistry store(path(), "", noSeed);
        tv::HKEY key = 0;
        store.RegCreateKeyExA(tv::HKEY_CURRENT_USER, "Big", &key);
        store.transact([&] {
            for (int i = 0; i < values; ++i) {
                std::string name = "Value " + std::to_string(i);
                std::string data = "data of value " + std::to_string(i);
                store.RegSetValueExA(key, name, 0, tv::REG_SZ,
                                     reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                     static_cast<std::uint32_t>(data.size() + 1));
            }
            return tv::ERROR_SUCCESS;
        });
    }
    std::string path() const { return dir_.file("registry.db"); }
    std::string exportFile() const { return dir_.file("export.reg"); }

    int reg(const std::vector<std::string>& args) const {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        return tv::reg::runReg(
            args, [this] { return std::make_unique<tv::SqliteRegistry>(path(), "", noSeed); }, in,
            out, err);
    }

    static BigKey& of(int values) {
        static std::map<int, std::unique_ptr<BigKey>> made;
        auto& key = made[values];
        if (!key) {
            key = std::make_unique<BigKey>(values);
        }
        return *key;
    }

  private:
    tv::testing::TempDir dir_;
};

void BM_QueryOneKey(benchmark::State& state) {
    const BigKey& key = BigKey::of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (key.reg({"query", "HKCU\\Big"}) != 0) {
            state.SkipWithError("reg query failed");
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_QueryOneKey)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Complexity(benchmark::oN);

void BM_ExportOneKey(benchmark::State& state) {
    const BigKey& key = BigKey::of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (key.reg({"export", "HKCU\\Big", key.exportFile(), "/y"}) != 0) {
            state.SkipWithError("reg export failed");
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExportOneKey)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
