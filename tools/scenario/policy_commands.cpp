// The applier's notes go to standard error, as the monitor's do, after the
// transcript so far, so both read in order when they share a terminal or a file.

#include "tools/scenario/policy_commands.h"

#include <iostream>

namespace tv::scenario {

namespace {

void addCommands(Scenario& scenario, const std::shared_ptr<PolicyRun>& run) {
    scenario.addCommand("idle", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "idle SECONDS");
        long long seconds = Scenario::integer(args[0]);
        if (seconds < 0) {
            throw ScenarioError("not a number of seconds: " + args[0]);
        }
        run->idle.idleFor(seconds);
    });
    scenario.addCommand("input", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "input");
        run->idle.idleFor(0);
    });
    scenario.addCommand("desktop-power-manager", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "desktop-power-manager on|off");
        if (args[0] != "on" && args[0] != "off") {
            throw ScenarioError("usage: desktop-power-manager on|off");
        }
        run->desktop.name = args[0] == "on" ? "the desktop's power manager" : "";
    });
    scenario.addCommand("profiles", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 16, "profiles NAME ...|none");
        if (args.size() == 1 && args[0] == "none") {
            run->profiles.profiles.clear();
            return;
        }
        for (const std::string& name : args) {
            if (name == "none" || name.empty()) {
                throw ScenarioError("usage: profiles NAME ...|none");
            }
        }
        run->profiles.profiles = args;
    });
    scenario.addCommand("can-hibernate", [run](Scenario&, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "can-hibernate yes|no");
        if (args[0] != "yes" && args[0] != "no") {
            throw ScenarioError("usage: can-hibernate yes|no");
        }
        run->sleep.hibernation = args[0] == "yes";
    });
}

}  // namespace

PolicyRun::PolicyRun(Scenario& scenario)
    : profiles(scenario.calls()),
      screen(scenario.calls()),
      disks(scenario.calls()),
      sleep(scenario.calls()),
      idle(scenario.clock()),
      applier({scenario.registry(), profiles, screen, disks, sleep, idle, desktop},
              [&scenario](const std::string& line) {
                  scenario.out().flush();
                  std::cerr << line << '\n';
              }) {}

std::shared_ptr<PolicyRun> addPolicyCommands(Scenario& scenario) {
    auto run = std::make_shared<PolicyRun>(scenario);
    addCommands(scenario, run);
    return run;
}

}  // namespace tv::scenario
