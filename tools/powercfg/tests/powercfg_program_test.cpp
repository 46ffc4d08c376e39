// The tool as a program: its exit codes, its two streams and its store.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "runtime/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Ran {
    int code = -1;
    std::string out;
};

class PowercfgProgram : public ::testing::Test {
  protected:
    // args are written for sh; stderr is kept apart with a marker.
    Ran run(const std::string& args, bool withErrors = false) {
        std::string command = "TOLVANE_REGISTRY='" + (root_ / "registry.db").string() +
                              "' TOLVANE_POWER_STATE_FILE=/nonexistent '" + TV_BIN_DIR +
                              "/powercfg' " + args + (withErrors ? " 2>&1" : " 2>/dev/null");
        FILE* pipe = popen(command.c_str(), "r");
        Ran ran;
        std::array<char, 4096> buffer;
        size_t n = 0;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
            ran.out.append(buffer.data(), n);
        }
        int status = pclose(pipe);
        ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return ran;
    }

    tv::testing::TempDir folder_{"powercfg-program"};

    fs::path root_{folder_.path()};
};

TEST_F(PowercfgProgram, CreatesItsStoreAndLists) {
    Ran ran = run("/LIST");
    EXPECT_EQ(ran.code, 0);
    EXPECT_TRUE(
        ran.out.starts_with("Existing Power Schemes\n----------------------\nHome/Office Desk\n"));
    EXPECT_TRUE(fs::exists(root_ / "registry.db"));
}

TEST_F(PowercfgProgram, ChangesLastAcrossRuns) {
    ASSERT_EQ(run("/CREATE 'a \"quoted\" name'").code, 0);
    ASSERT_EQ(run("/CHANGE 'a \"quoted\" name' /disk-timeout-ac 25").code, 0);
    Ran ran = run("/QUERY 'a \"quoted\" name'");
    EXPECT_EQ(ran.code, 0);
    EXPECT_NE(ran.out.find("Name                       a \"quoted\" name\n"), std::string::npos);
    EXPECT_NE(ran.out.find("Turn off hard disks (AC)   After 25 mins\n"), std::string::npos);
    EXPECT_NE(ran.out.find("System hibernates (AC)     Not Supported\n"), std::string::npos);
}

TEST_F(PowercfgProgram, RefusalsExitWithOneAndOneLineOnErrors) {
    Ran ran = run("/QUERY Nowhere", true);
    EXPECT_EQ(ran.code, 1);
    EXPECT_EQ(ran.out, "powercfg: no power scheme named \"Nowhere\"\n");
    EXPECT_EQ(run("/QUERY Nowhere").out, "");
    EXPECT_EQ(run("", true).code, 1);
}

TEST_F(PowercfgProgram, UnreadableStoreIsAOneLineError) {
    fs::create_directories(root_ / "registry.db");
    Ran ran = run("/LIST", true);
    EXPECT_EQ(ran.code, 1);
    EXPECT_TRUE(ran.out.starts_with("powercfg: "));
    EXPECT_EQ(std::count(ran.out.begin(), ran.out.end(), '\n'), 1);
}

}  // namespace
