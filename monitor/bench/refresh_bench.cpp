// Cost of one refresh of the main window (tmrBattery_Timer), registry reads
// included, on a file-backed store: with a fixed power source and with the Linux
// power-supply reader on a folder laid out as the kernel lays it out.

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

struct Bench {
    explicit Bench(PowerStatusSource& power)
        : registry(root.file("registry.db"), root.file("autostart"), seedRegistry),
          fakes(calls, registry) {
        calls.keepLines(false);
        main = std::make_unique<frmMain>(runtime,
                                         fakes.withHibernationFile().usePower(power).services());
        main->Show();
    }

    testing::TempDir root{"refresh-bench"};
    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    SqliteRegistry registry;
    testing::MonitorFakes fakes;
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
