// scenario [SCRIPT]: runs a script (standard input when none) and prints the
// transcript. Exit code 0 when the script ran to its end, 2 on an error.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "platform/registry_seed.h"
#include "platform/registry_sqlite.h"
#include "tools/scenario/program_commands.h"
#include "tools/scenario/scenario.h"

namespace fs = std::filesystem;

namespace {

// A fresh store and autostart folder for the run, removed afterwards.
class PrivateFolder {
  public:
    PrivateFolder() {
        std::string pattern = (fs::temp_directory_path() / "scenario-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: scenario [SCRIPT]\n";
        return 2;
    }
    std::ifstream file;
    std::istream* script = &std::cin;
    if (argc == 2 && std::string(argv[1]) != "-") {
        file.open(argv[1]);
        if (!file) {
            std::cerr << "scenario: cannot open " << argv[1] << '\n';
            return 2;
        }
        script = &file;
    }
    try {
        std::unique_ptr<PrivateFolder> folder;
        std::unique_ptr<tv::RegistryApi> registry;
        const char* chosen = std::getenv("TOLVANE_REGISTRY");
        if (chosen != nullptr && *chosen != '\0') {
            registry = std::make_unique<tv::SqliteRegistry>(chosen, std::nullopt, tv::seedRegistry);
        } else {
            folder = std::make_unique<PrivateFolder>();
            registry = std::make_unique<tv::SqliteRegistry>(
                (folder->path() / "registry.db").string(), (folder->path() / "autostart").string(),
                tv::seedRegistry);
        }
        std::string workDir = folder ? folder->path().string() : fs::temp_directory_path().string();
        tv::scenario::Scenario scenario(std::cout, std::move(registry));
        tv::scenario::addCoreCommands(scenario);
        tv::scenario::addProgramCommands(scenario, workDir);
        scenario.run(*script);
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "scenario: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
