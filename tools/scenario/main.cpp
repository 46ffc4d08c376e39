// scenario [SCRIPT]: runs a script (standard input when none) and prints the
// transcript. Exit code 0 when the script ran to its end, 2 on an error.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "platform/linux/environment.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "runtime/cli_manners.h"
#include "runtime/testing/temp_dir.h"
#include "tools/scenario/program_commands.h"
#include "tools/scenario/scenario.h"

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: scenario [SCRIPT]\n"
    "Plays a script of user actions against the programs' window logic in virtual\n"
    "time, on a private settings store (TOLVANE_REGISTRY chooses one), and prints what\n"
    "a user would notice. Without SCRIPT, or with -, the script is read from standard\n"
    "input. Examples: tools/scenario/examples/ in the source tree.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::optional<int> code = tv::answerCommandLine(
            {"scenario", kUsage, tv::Arguments::Options}, args, std::cout, std::cerr)) {
        return *code;
    }
    if (args.size() > 1) {
        std::cerr << tv::usageErrorLine("scenario", "one script at most") << '\n';
        return tv::kExitUsage;
    }
    if (!args.empty() && args[0].size() > 1 && args[0][0] == '-') {
        std::cerr << tv::unknownOptionLine("scenario", args[0]) << '\n';
        return tv::kExitUsage;
    }
    std::ifstream file;
    std::istream* script = &std::cin;
    if (argc == 2 && std::string(argv[1]) != "-") {
        std::error_code ignored;
        if (fs::is_directory(argv[1], ignored)) {
            std::cerr << "scenario: " << argv[1] << " is a folder, not a script\n";
            return 2;
        }
        file.open(argv[1]);
        if (!file) {
            std::cerr << "scenario: cannot open " << argv[1] << '\n';
            return 2;
        }
        script = &file;
    }
    try {
        // A fresh store and autostart folder for the run, removed afterwards, unless
        // the caller names a store.
        tv::EnvironmentLookup environment = tv::processEnvironment();
        std::unique_ptr<tv::testing::TempDir> folder;
        tv::scenario::ProgramSetup setup;
        std::unique_ptr<tv::RegistryApi> registry;
        if (environment("TOLVANE_REGISTRY")) {
            tv::StorePaths paths = tv::resolveStorePaths(environment);
            registry = std::make_unique<tv::SqliteRegistry>(paths.registry, paths.autostartDir,
                                                            tv::seedRegistry);
            setup = {fs::temp_directory_path().string(), paths.registry};
        } else {
            folder = std::make_unique<tv::testing::TempDir>("scenario");
            registry = std::make_unique<tv::SqliteRegistry>(
                folder->file("registry.db"), folder->file("autostart"), tv::seedRegistry);
            setup = {folder->path(), folder->file("registry.db")};
        }
        tv::scenario::Scenario scenario(std::cout, std::move(registry));
        tv::scenario::addCoreCommands(scenario);
        tv::scenario::addProgramCommands(scenario, setup);
        scenario.run(*script);
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "scenario: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
