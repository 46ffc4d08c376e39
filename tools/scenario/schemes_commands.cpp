// Commands of the power-scheme manager: starting it, the machine its powercfg sees
// (sleep states, wake devices), the pointer position, unloading, and its temporary
// files. Runs use the real powercfg beside the scenario program on the run's store.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/linux/files_linux.h"
#include "platform/linux/process_linux.h"
#include "schemes/frm_power.h"
#include "tools/scenario/program_commands.h"

namespace tv::scenario {

namespace {

namespace fs = std::filesystem;

class RecordingRunner : public ProcessRunner {
  public:
    RecordingRunner(CallLog& calls, ProcessRunner& real) : calls_(calls), real_(real) {}
    std::unique_ptr<CapturedProcess> startCaptured(const std::string& commandLine) override {
        calls_.record("RunBehind", commandLine);
        return real_.startCaptured(commandLine);
    }
    std::unique_ptr<StartedProcess> start(const std::string& commandLine, int showWindow) override {
        calls_.record("StartProcess", commandLine, showWindow);
        return real_.start(commandLine, showWindow);
    }

  private:
    CallLog& calls_;
    ProcessRunner& real_;
};

class ScriptPointer : public PointerService {
  public:
    explicit ScriptPointer(CallLog& calls) : calls_(calls) {}
    bool GetCursorPos(POINTAPI& point) override {
        point = position;
        return true;
    }
    bool SetCursorPos(int x, int y) override {
        calls_.record("SetCursorPos", x, y);
        position = {x, y};
        return true;
    }
    void mouse_event(std::uint32_t flags, int, int, int) override {
        calls_.record("mouse_event", flags);
    }
    POINTAPI position;

  private:
    CallLog& calls_;
};

// Repaint suspensions print; focus and repaints do not change what a user reads.
class ScriptView : public PowerView, public TextMeasure {
  public:
    explicit ScriptView(CallLog& calls) : calls_(calls) {}
    void InitCommonControls() override {}
    void LockWindowUpdate(const Control* control) override {
        calls_.record("LockWindowUpdate", Word{control ? control->name() : "0"});
    }
    void setFocus(const Control&) override {}
    void refresh(const Control&) override {}
    // Every character 7 pixels wide.
    double textWidth(const std::string& text) override {
        return 7.0 * static_cast<double>(text.size());
    }

  private:
    CallLog& calls_;
};

std::string privateFolder(const std::string& workDir) {
    std::string pattern = workDir + "/vantrel-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw ScenarioError("cannot create a folder for vantrel in " + workDir);
    }
    return pattern;
}

struct SchemesRun {
    SchemesRun(Scenario& s, const ProgramSetup& setup)
        : scenario(s), folder(privateFolder(setup.workDir)), registry(setup.registryPath) {
        std::ofstream(folder + "/power-state") << "freeze mem disk\n";
        fs::create_directories(folder + "/sys");
    }
    ~SchemesRun() {
        window.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    ProcessOptions options() const {
        ProcessOptions out;
        out.programFolder = executableFolder();
        out.environment = {{"TOLVANE_REGISTRY", registry},
                           {"TOLVANE_POWER_STATE_FILE", folder + "/power-state"},
                           {"TOLVANE_SYSFS_ROOT", folder + "/sys"}};
        return out;
    }

    frmPower& loaded() {
        if (!window || !window->isLoaded()) {
            throw ScenarioError("window frmPower is not loaded");
        }
        return *window;
    }

    void start() {
        if (window && window->isLoaded()) {
            throw ScenarioError("vantrel is already running");
        }
        scenario.clock().onSleep = [this](int ms) { scenario.calls().record("Sleep", ms); };
        window.reset();
        window = std::make_unique<frmPower>(
            scenario.runtime(),
            PowerServices{recording, files, general, scenario.dialogs(), pointer, view, view},
            folder);
        window->Show();
    }

    Scenario& scenario;
    std::string folder;
    std::string registry;
    PosixProcessRunner runner{options()};
    RecordingRunner recording{scenario.calls(), runner};
    LinuxFiles files;
    General general{scenario.registry(), scenario.dialogs(), "Vantrel"};
    ScriptPointer pointer{scenario.calls()};
    ScriptView view{scenario.calls()};
    std::unique_ptr<frmPower> window;
    int devices = 0;
};

void addMachineCommands(Scenario& scenario, const std::shared_ptr<SchemesRun>& run) {
    scenario.addCommand("sleepstates", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "sleepstates \"WORDS\"");
        std::ofstream(run->folder + "/power-state") << args[0] << '\n';
    });
    scenario.addCommand("wakeup", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 2, "wakeup \"NAME\" [enabled|disabled]");
        std::string state = args.size() == 2 ? args[1] : "enabled";
        if (state != "enabled" && state != "disabled") {
            throw ScenarioError("usage: wakeup \"NAME\" [enabled|disabled]");
        }
        fs::path device = fs::path(run->folder) / "sys/bus/scenario/devices" /
                          ("dev" + std::to_string(++run->devices));
        fs::create_directories(device / "power");
        std::ofstream(device / "power/wakeup") << state << '\n';
        std::ofstream(device / "product") << args[0] << '\n';
    });
    scenario.addCommand("cursor", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 2, 2, "cursor X Y");
        long long x = Scenario::integer(args[0]);
        long long y = Scenario::integer(args[1]);
        if (x < -100000 || x > 100000 || y < -100000 || y > 100000) {
            throw ScenarioError("cursor position out of range");
        }
        run->pointer.position = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    });
}

void addWindowCommands(Scenario& scenario, const std::shared_ptr<SchemesRun>& run) {
    scenario.addCommand("start vantrel", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "start vantrel");
        run->start();
    });
    scenario.addCommand("unload", [run](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "unload");
        s.runtime().unload(run->loaded());
    });
    scenario.addCommand("tempfiles", [run](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "tempfiles");
        std::string found;
        for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
            if (fs::exists(fs::path(run->folder) / name)) {
                found += found.empty() ? name : std::string(" ") + name;
            }
        }
        s.out() << "= " << (found.empty() ? "(none)" : found) << '\n';
    });
}

}  // namespace

void addSchemesCommands(Scenario& scenario, const ProgramSetup& setup) {
    auto run = std::make_shared<SchemesRun>(scenario, setup);
    scenario.runtime().declareForm("frmPower");
    addMachineCommands(scenario, run);
    addWindowCommands(scenario, run);
    // The window goes before the services it was given.
    scenario.atFinish([run] {
        if (run->window && run->window->isLoaded()) {
            run->scenario.runtime().unload(*run->window);
        }
        run->window.reset();
    });
}

}  // namespace tv::scenario
