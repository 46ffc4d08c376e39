// Cost of one refresh of the main window (tmrBattery_Timer), registry reads
// included, on a file-backed store: with a fixed power source and with the Linux
// power-supply reader on a folder laid out as the kernel lays it out.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "monitor/frm_main.h"
#include "platform/memory_files.h"
#include "platform/power_status_sysfs.h"
#include "platform/registry_sqlite.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

class QuietTray : public TrayService {
  public:
    bool Shell_NotifyIcon(std::uint32_t, const NotifyIconData& data) override {
        benchmark::DoNotOptimize(data.toBytes());
        return true;
    }
};

class QuietDialogs : public Dialogs {
  public:
    void MsgBox(const std::string&, int, const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

class QuietDesktop : public Desktop {
  public:
    void SetForegroundWindow(Form&) override {}
    void PopupMenu(Form&, MenuItem&) override {}
    int screenWidth() const override { return 1920; }
    int screenHeight() const override { return 1080; }
    void windowLoaded(Form&) override {}
    void windowUnloaded(Form&) override {}
    void End() override {}
};

class QuietLauncher : public Launcher {
  public:
    void ShellExecuteA(const std::string&, const std::string&, const std::string&,
                       const std::string&, int) override {}
    void startProcess(const std::string&, int) override {}
};

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
    explicit Bench(PowerStatusSource& power) {
        root = fs::temp_directory_path() / ("refresh-bench-" + std::to_string(getpid()));
        fs::create_directories(root);
        registry = std::make_unique<SqliteRegistry>((root / "registry.db").string(),
                                                    (root / "autostart").string(), seedRegistry);
        files.put("C:\\hiberfil.sys", "", vbAttrHidden | vbAttrSystem);
        main = std::make_unique<frmMain>(
            runtime, MonitorServices{power, instance, tray, sleep, launcher, systemDirectory, files,
                                     *registry, dialogs, desktop, ProgramInfo{"/opt/tolvane"}});
        main->Show();
    }
    ~Bench() {
        main.reset();
        registry.reset();
        fs::remove_all(root);
    }

    fs::path root;
    VirtualClock clock;
    FormRuntime runtime{clock};
    FixedInstanceCheck instance;
    QuietTray tray;
    NoSleep sleep;
    QuietLauncher launcher;
    FixedSystemDirectory systemDirectory{std::string(kStandInSystemDirectory)};
    MemoryFiles files;
    std::unique_ptr<SqliteRegistry> registry;
    QuietDialogs dialogs;
    QuietDesktop desktop;
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
    fs::path dir = fs::temp_directory_path() / ("refresh-bench-supply-" + std::to_string(getpid()));
    writeSupplyFolder(dir);
    SysfsPowerStatus power(dir.string());
    Bench bench(power);
    for (auto _ : state) {
        bench.main->tmrBattery_Timer();
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_RefreshSysfsPowerSource)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
