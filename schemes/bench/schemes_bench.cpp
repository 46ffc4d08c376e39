// The cost of one powercfg query as a whole process, and of the window's query round
// trip (run, save, load, list) without its fixed pauses.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/files_linux.h"
#include "platform/linux/process_linux.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/testing/memory_files.h"
#include "runtime/testing/recording_dialogs.h"
#include "runtime/testing/temp_dir.h"
#include "schemes/frm_power.h"
#include "schemes/run_behind.h"

namespace {

namespace fs = std::filesystem;

class Quiet : public tv::PointerService, public tv::PowerView, public tv::TextMeasure {
  public:
    bool GetCursorPos(tv::POINTAPI&) override { return true; }
    bool SetCursorPos(int, int) override { return true; }
    void mouse_event(std::uint32_t, int, int, int) override {}
    void InitCommonControls() override {}
    void LockWindowUpdate(const tv::Control*) override {}
    void setFocus(const tv::Control&) override {}
    void refresh(const tv::Control&) override {}
    double textWidth(const std::string& text) override { return 7.0 * text.size(); }
};

// A private store, created once.
struct Store {
    Store() { tv::SqliteRegistry create(path, std::string(), tv::seedRegistry); }
    tv::testing::TempDir folder{"schemes-bench"};
    std::string path = folder.file("registry.db");
};

tv::ProcessOptions options(const Store& store) {
    tv::ProcessOptions out;
    out.programFolder = TV_BIN_DIR;
    out.environment = {{"TOLVANE_REGISTRY", store.path}};
    return out;
}

void BM_PowercfgQueryProcess(benchmark::State& state) {
    Store store;
    tv::PosixProcessRunner runner(options(store));
    tv::VirtualClock clock;
    tv::FormRuntime runtime(clock);
    tv::Form form(runtime, "frmPower");
    tv::TextBox box(form, "Text1");
    for (auto _ : state) {
        tv::RunBehind(runner, runtime, "POWERCFG /QUERY \"Portable/Laptop\"", box);
        if (box.Text.find("Portable/Laptop") == std::string::npos) {
            state.SkipWithError("query failed");
            break;
        }
    }
}
BENCHMARK(BM_PowercfgQueryProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_WindowQueryRoundTrip(benchmark::State& state) {
    Store store;
    tv::PosixProcessRunner runner(options(store));
    tv::VirtualClock clock;
    tv::FormRuntime runtime(clock);
    tv::LinuxFiles files;
    tv::SqliteRegistry registry(store.path, std::string(), tv::seedRegistry);
    tv::testing::RecordingDialogs dialogs;
    tv::General general(registry, dialogs, "Vantrel");
    Quiet quiet;
    tv::frmPower window(runtime, {runner, files, general, dialogs, quiet, quiet, quiet},
                        store.folder.path());
    runtime.load(window);
    for (auto _ : state) {
        window.cboSchemes.setListIndex(2);
        if (window.lstSchemes.ListCount() != 12) {
            state.SkipWithError("no settings listed");
            break;
        }
    }
    runtime.unload(window);
}
BENCHMARK(BM_WindowQueryRoundTrip)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
