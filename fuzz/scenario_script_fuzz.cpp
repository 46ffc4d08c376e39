// The scenario script reader with the core commands on an in-memory store: any script
// runs to its end or stops with an error naming the line.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "tools/scenario/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    try {
        tv::scenario::Scenario scenario(
            out, std::make_unique<tv::SqliteRegistry>(":memory:", std::nullopt, tv::seedRegistry));
        tv::scenario::addCoreCommands(scenario);
        scenario.run(script);
    } catch (const tv::scenario::ScenarioError& error) {
        if (std::string_view(error.what()).substr(0, 5) != "line ") {
            __builtin_trap();
        }
    }
    return 0;
}
