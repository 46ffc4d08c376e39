// The monitor's example scripts run through the real scenario program: the worked
// estimates come out exactly, and bad commands stop with a clear error.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "runtime/testing/temp_dir.h"
#include "tools/scenario/tests/script_runner.h"

namespace {

namespace fs = std::filesystem;

using tv::scenario::testing::runScript;
using tv::scenario::testing::ScriptRun;

// Every script's transcript is compared by the scenario runner's own test; these pin
// the monitor's worked estimates and its command errors.
const fs::path kExamples = fs::path(TV_SOURCE_DIR) / "tools/scenario/examples";

TEST(MonitorExamples, WorkedEstimatesComeOutExactly) {
    std::string discharge = runScript(kExamples / "monitor-discharge.scn").output;
    EXPECT_NE(discharge.find("frmMain.lblLeft.Caption = \"Life Remaining:  3:56\""),
              std::string::npos);
    EXPECT_NE(discharge.find("frmMain.lblTotal.Caption = \"Tolvane:  5:03\""), std::string::npos);
    std::string charge = runScript(kExamples / "monitor-charge.scn").output;
    size_t first = charge.find("frmMain.lblCharging.Caption = \"Full charge in:  3:30\"");
    size_t second = charge.find("frmMain.lblCharging.Caption = \"Full charge in:  3:38\"");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
}

TEST(MonitorExamples, BadCommandsStopWithAClearError) {
    tv::testing::TempDir dir("monitor-bad");
    const std::pair<const char*, const char*> cases[] = {
        {"power 0 1 300\n", "line 1: not a value from 0 to 255: 300"},
        {"tray 517\n", "line 1: window frmMain is not loaded"},
        {"power 0 1\n", "line 1: usage: power AC FLAG PERCENT"},
        {"file create x bold\n", "unknown file attribute bold"},
        {"power 0 1 50\nstart tolvane\nstart tolvane\n", "line 3: tolvane is already running"},
        {"power 0 1 50\nstart tolvane\nbroadcast sleep\n", "line 3: not a whole number: sleep"},
        {"idle -5\n", "line 1: not a number of seconds: -5"},
        {"desktop-power-manager yes\n", "usage: desktop-power-manager on|off"},
        {"profiles balanced none\n", "usage: profiles NAME ...|none"},
    };
    for (const auto& [script, message] : cases) {
        fs::path file = dir.file("bad.scn");
        std::ofstream(file) << script;
        ScriptRun run = runScript(file);
        EXPECT_NE(run.status, 0) << script;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }
}

}  // namespace
