#pragma once
// The commands of the two programs, each in its own file, added when the program's
// logic is built.

#include <string>

#include "tools/scenario/scenario.h"

namespace tv::scenario {

// workDir: a private folder of the run for the programs' files.
void addProgramCommands(Scenario& scenario, const std::string& workDir);

#ifdef TV_HAVE_MONITOR
void addMonitorCommands(Scenario& scenario, const std::string& workDir);
#endif
#ifdef TV_HAVE_SCHEMES
void addSchemesCommands(Scenario& scenario, const std::string& workDir);
#endif

}  // namespace tv::scenario
