#include "tools/scenario/program_commands.h"

namespace tv::scenario {

void addProgramCommands(Scenario& scenario, const ProgramSetup& setup) {
    addMonitorCommands(scenario, setup);
    addSchemesCommands(scenario, setup);
}

}  // namespace tv::scenario
