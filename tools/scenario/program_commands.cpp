#include "tools/scenario/program_commands.h"

namespace tv::scenario {

void addProgramCommands(Scenario& scenario, const std::string& workDir) {
#ifdef TV_HAVE_MONITOR
    addMonitorCommands(scenario, workDir);
#endif
#ifdef TV_HAVE_SCHEMES
    addSchemesCommands(scenario, workDir);
#endif
    (void)scenario;
    (void)workDir;
}

}  // namespace tv::scenario
