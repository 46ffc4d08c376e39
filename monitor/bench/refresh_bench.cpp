// Cost of one refresh of the main window (tmrBattery_Timer), registry reads
// included, on a file-backed store: with a fixed power source and with the Linux
// power-supply reader on a folder laid out as the kernel lays it out; and with the
// power-policy applier turned on behind the fixed source, where an unchanged refresh
// may cost at most 5 µs more.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "monitor/frm_main.h"
#include "monitor/testing/monitor_fakes.h"
#include "platform/linux/power_status_sysfs.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "policy/power_applier.h"
#include "policy/testing/policy_fakes.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

void writeSupplyFolder(const fs::path& dir) {
    auto put = [&](const std::string& name, const std::string& file, const std::string& text) {
        fs::create_directories(dir / name);
        std::ofstream(dir / name / file) << text << '\n';
    };
    put("AC", "type", "Mains");
    put("AC", "online", "0");
    put("BAT0", "type", "Battery");
    put("BAT0", "present", "1");
    put("BAT0", "status", "Discharging");
    put("BAT0", "energy_now", "28500000");
    put("BAT0", "energy_full", "50000000");
    put("BAT0", "capacity", "57");
}

// The applier on facilities that only record, turned on in the store.
struct Applier {
    Applier(RegistryApi& store, PowerStatusSource& source)
        : registry(store), applying(source, applier) {
        HKEY key = 0;
        registry.RegCreateKeyExA(HKEY_CURRENT_USER, policy::kApplySwitchKey, &key);
        registry.RegSetValueExA(key, policy::kApplySwitchValue, 0, REG_SZ,
                                reinterpret_cast<const std::uint8_t*>("1"), 2);
        registry.RegCloseKey(key);
    }
    RegistryApi& registry;
    CallLog calls;
    policy::testing::PolicyFakes fakes{calls};
    std::vector<std::string> notes;
    policy::PowerPolicyApplier applier{fakes.services(registry),
                                       [this](const std::string& line) { notes.push_back(line); }};
    policy::ApplyingPowerStatus applying;
};

struct Bench {
    explicit Bench(PowerStatusSource& power, bool applyPolicy = false)
        : registry(root.file("registry.db"), root.file("autostart"), seedRegistry),
          fakes(calls, registry) {
        calls.keepLines(false);
        PowerStatusSource* source = &power;
        if (applyPolicy) {
            applier = std::make_unique<Applier>(registry, power);
            source = &applier->applying;
        }
        main = std::make_unique<frmMain>(runtime,
                                         fakes.withHibernationFile().usePower(*source).services());
        main->Show();
    }

    testing::TempDir root{"refresh-bench"};
    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    SqliteRegistry registry;
    testing::MonitorFakes fakes;
    std::unique_ptr<Applier> applier;
    std::unique_ptr<frmMain> main;
};

void BM_RefreshFixedPowerSource(benchmark::State& state) {
    FixedPowerStatus power;
    power.set(0, 0, 57);
    Bench bench(power);
    for (auto _ : state) {
        bench.main->tmrBattery_Timer();
    }
}
BENCHMARK(BM_RefreshFixedPowerSource)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RefreshFixedPowerSourceWithApplier(benchmark::State& state) {
    FixedPowerStatus power;
    power.set(0, 0, 57);
    Bench bench(power, true);
    if (bench.applier->calls.lines().size() != 3) {
        state.SkipWithError("the scheme was not applied at start");
    }
    for (auto _ : state) {
        bench.main->tmrBattery_Timer();
    }
    if (bench.applier->calls.lines().size() != 3) {
        state.SkipWithError("an unchanged refresh applied something");
    }
}
BENCHMARK(BM_RefreshFixedPowerSourceWithApplier)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RefreshSysfsPowerSource(benchmark::State& state) {
    testing::TempDir dir("refresh-bench-supply");
    writeSupplyFolder(dir.path());
    SysfsPowerStatus power(dir.path());
    Bench bench(power);
    for (auto _ : state) {
        bench.main->tmrBattery_Timer();
    }
}
BENCHMARK(BM_RefreshSysfsPowerSource)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
