// The monitor's example scripts run through the real scenario program: each prints
// its expected transcript, and the worked estimates come out exactly.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TV_SOURCE_DIR) / "tools/scenario/examples";

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ScriptRun {
    std::string output;
    int status = -1;
};

ScriptRun runScript(const fs::path& script) {
    std::string command = std::string("env -u TOLVANE_REGISTRY ") + TV_BIN_DIR + "/scenario '" +
                          script.string() + "' 2>&1";
    ScriptRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer;
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), n);
    }
    run.status = pclose(pipe);
    return run;
}

TEST(MonitorExamples, EveryScriptPrintsItsTranscript) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        const fs::path& script = entry.path();
        if (script.extension() != ".scn" || !script.filename().string().starts_with("monitor-")) {
            continue;
        }
        fs::path expected = fs::path(script).replace_extension(".out");
        ASSERT_TRUE(fs::exists(expected)) << expected;
        ScriptRun run = runScript(script);
        EXPECT_EQ(run.status, 0) << script;
        EXPECT_EQ(run.output, readAll(expected)) << script;
        ++checked;
    }
    EXPECT_GE(checked, 6);
}

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
    fs::path dir = fs::temp_directory_path() / ("monitor-bad-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::pair<const char*, const char*> cases[] = {
        {"power 0 1 300\n", "line 1: not a value from 0 to 255: 300"},
        {"tray 517\n", "line 1: window frmMain is not loaded"},
        {"power 0 1\n", "line 1: usage: power AC FLAG PERCENT"},
        {"file create x bold\n", "unknown file attribute bold"},
        {"power 0 1 50\nstart tolvane\nstart tolvane\n", "line 3: tolvane is already running"},
        {"power 0 1 50\nstart tolvane\nbroadcast sleep\n", "line 3: not a whole number: sleep"},
    };
    for (const auto& [script, message] : cases) {
        fs::path file = dir / "bad.scn";
        std::ofstream(file) << script;
        ScriptRun run = runScript(file);
        EXPECT_NE(run.status, 0) << script;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }
    fs::remove_all(dir);
}

}  // namespace
