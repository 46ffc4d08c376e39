// Commands of the battery monitor: its power source, the other instance, the system
// folder and files behind the hibernation check, starting it, power broadcasts and
// tray icon events. Every platform call it makes prints as a call line.

#include <memory>

#include "monitor/frm_main.h"
#include "monitor/testing/monitor_fakes.h"
#include "platform/power_events.h"
#include "tools/scenario/policy_commands.h"
#include "tools/scenario/program_commands.h"

namespace tv::scenario {

namespace {

struct MonitorRun {
    MonitorRun(Scenario& s, const std::string& workDir, std::shared_ptr<PolicyRun> applier)
        : scenario(s), policyRun(std::move(applier)), fakes(s.calls(), s.registry()) {
        // The window logic's samples drive the power-policy applier, as in the program.
        fakes.usePower(applying);
        fakes.useDialogs(s.dialogs());
        fakes.program.folder = workDir;
        // Until a script names one, the system folder cannot be read.
        fakes.systemDirectory.folder.reset();
    }

    frmMain& loaded() {
        if (!main || !main->isLoaded()) {
            throw ScenarioError("window frmMain is not loaded");
        }
        return *main;
    }

    void start() {
        if (main && main->isLoaded()) {
            throw ScenarioError("tolvane is already running");
        }
        main.reset();
        main = std::make_unique<frmMain>(scenario.runtime(), fakes.services());
        main->Show();
    }

    Scenario& scenario;
    std::shared_ptr<PolicyRun> policyRun;
    testing::MonitorFakes fakes;
    policy::ApplyingPowerStatus applying{fakes.power, policyRun->applier};
    FixedPowerStatus& power = fakes.power;
    FixedInstanceCheck& instance = fakes.instance;
    RecordingSleep& sleep = fakes.sleep;
    FixedSystemDirectory& systemDirectory = fakes.systemDirectory;
    MemoryFiles& files = fakes.files;
    std::unique_ptr<frmMain> main;
};

std::uint8_t byteArg(const std::string& word) {
    long long value = Scenario::integer(word);
    if (value < 0 || value > 255) {
        throw ScenarioError("not a value from 0 to 255: " + word);
    }
    return static_cast<std::uint8_t>(value);
}

int attributesArg(const Args& args, size_t from) {
    int attributes = vbAttrNormal;
    for (size_t i = from; i < args.size(); ++i) {
        if (args[i] == "readonly") {
            attributes |= vbAttrReadOnly;
        } else if (args[i] == "hidden") {
            attributes |= vbAttrHidden;
        } else if (args[i] == "system") {
            attributes |= vbAttrSystem;
        } else {
            throw ScenarioError("unknown file attribute " + args[i] +
                                " (readonly, hidden or system)");
        }
    }
    return attributes;
}

std::uint32_t broadcastArg(const std::string& word) {
    if (word == "suspend") {
        return PBT_APMSUSPEND;
    }
    if (word == "resume") {
        return PBT_APMRESUMEAUTOMATIC;
    }
    long long value = Scenario::integer(word);
    if (value < 0 || value > 0xFFFFFFFFLL) {
        throw ScenarioError("not a power event: " + word);
    }
    return static_cast<std::uint32_t>(value);
}

void addSetupCommands(Scenario& scenario, const std::shared_ptr<MonitorRun>& run) {
    scenario.addCommand("power", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 3, 3, "power AC FLAG PERCENT");
        run->power.set(byteArg(args[0]), byteArg(args[1]), byteArg(args[2]));
    });
    scenario.addCommand("instance", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "instance running|none");
        if (args[0] != "running" && args[0] != "none") {
            throw ScenarioError("usage: instance running|none");
        }
        run->instance.running = args[0] == "running";
    });
    scenario.addCommand("sysfolder", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "sysfolder PATH|none");
        if (args[0] == "none") {
            run->systemDirectory.folder.reset();
        } else {
            run->systemDirectory.folder = args[0];
        }
    });
    scenario.addCommand("file create", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 4, "file create PATH [readonly] [hidden] [system]");
        run->files.put(args[0], "", attributesArg(args, 1));
    });
    scenario.addCommand("file delete", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "file delete PATH");
        run->files.deleteFile(args[0]);
    });
    scenario.addCommand("program folder", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "program folder PATH");
        if (args[0].empty() || args[0].back() == '/') {
            throw ScenarioError("the program folder is a path without a trailing slash");
        }
        run->fakes.program.folder = args[0];
    });
}

void addActionCommands(Scenario& scenario, const std::shared_ptr<MonitorRun>& run) {
    scenario.addCommand("start tolvane", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "start tolvane");
        run->start();
    });
    scenario.addCommand("broadcast", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "broadcast suspend|resume|EVENT");
        std::uint32_t event = broadcastArg(args[0]);
        run->loaded().window().SendMessageA(WM_POWERBROADCAST, event, 0);
    });
    scenario.addCommand("tray", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "tray CODE");
        long long code = Scenario::integer(args[0]);
        if (code < 0 || code > 0xFFFF) {
            throw ScenarioError("not a mouse event code: " + args[0]);
        }
        frmMain& main = run->loaded();
        // The icon's events arrive as mouse moves whose x is the event code.
        main.onMouseMove(0, static_cast<double>(code), 0);
    });
    scenario.addCommand("close", [run](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "close");
        s.runtime().unload(run->loaded(), vbFormControlMenu);
    });
}

}  // namespace

void addMonitorCommands(Scenario& scenario, const ProgramSetup& setup) {
    auto run = std::make_shared<MonitorRun>(scenario, setup.workDir, addPolicyCommands(scenario));
    scenario.runtime().declareForm("frmMain");
    scenario.runtime().declareForm("frmWarning");
    addSetupCommands(scenario, run);
    addActionCommands(scenario, run);
    // The windows go before the services they were given.
    scenario.atFinish([run] { run->main.reset(); });
}

}  // namespace tv::scenario
