// Every installed program and tool, run as a user would: --help and --version answer
// on standard output without a display and without touching the settings store, and
// an unknown option is one line on standard error with exit code 2.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "runtime/testing/temp_dir.h"

namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

// clang-format off
const char* const kPrograms[] = {
#if TV_WITH_GUI
    "Tolvane", "Vantrel", "About",
#endif
    "reg", "powercfg", "battery-sim", "scenario", "progressbar-render",
};
// clang-format on

class InstalledPrograms : public ::testing::Test {
  protected:
    Outcome run(const std::string& program, const std::string& argument) const {
        // No display of any kind, and a store of our own that must stay unmade.
        std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
            "TOLVANE_REGISTRY='" +
            dir_.file("store.db") + "' '" TV_BIN_DIR "/" + program + "' " + argument + " >'" +
            dir_.file("out") + "' 2>'" + dir_.file("err") + "' </dev/null";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("out"), read("err")};
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_.file(name));
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool storeMade() const { return std::filesystem::exists(dir_.file("store.db")); }

    tv::testing::TempDir dir_{"manners"};
};

TEST_F(InstalledPrograms, AnswerHelpAndVersionAndRefuseUnknownOptions) {
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        Outcome help = run(program, "--help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out, "");
        EXPECT_EQ(help.err, "");

        Outcome version = run(program, "--version");
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out.substr(version.out.find(' ') + 1), TV_PROJECT_VERSION "\n");

        Outcome unknown = run(program, "--no-such-option");
        EXPECT_EQ(unknown.exitCode, 2);
        EXPECT_EQ(unknown.out, "");
        EXPECT_NE(unknown.err.find("'--no-such-option'"), std::string::npos) << unknown.err;
        EXPECT_NE(unknown.err.find("--help"), std::string::npos) << unknown.err;
        EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 1) << unknown.err;
        EXPECT_FALSE(storeMade());
    }
}

}  // namespace
