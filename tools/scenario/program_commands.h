#pragma once
// The commands of the two programs, each in its own file.

#include <string>

#include "tools/scenario/scenario.h"

namespace tv::scenario {

struct ProgramSetup {
    // A private folder of the run for the programs' files.
    std::string workDir;
    // The store file the run's registry uses, handed to the tools it starts.
    std::string registryPath;
};

void addProgramCommands(Scenario& scenario, const ProgramSetup& setup);
void addMonitorCommands(Scenario& scenario, const ProgramSetup& setup);
void addSchemesCommands(Scenario& scenario, const ProgramSetup& setup);

}  // namespace tv::scenario
