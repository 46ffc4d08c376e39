#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "tools/scenario/scenario.h"
#include "tools/scenario/tests/script_runner.h"

namespace tv::scenario {
namespace {

namespace fs = std::filesystem;

TEST(ScriptWords, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(splitWords("  print  a.b   c "), (Args{"print", "a.b", "c"}));
    EXPECT_EQ(splitWords(R"(registry read 'HKEY_CURRENT_USER\Control Panel' "x y")"),
              (Args{"registry", "read", "HKEY_CURRENT_USER\\Control Panel", "x y"}));
    EXPECT_EQ(splitWords(R"(answer "a\"b\\c\n\r\t\q")"), (Args{"answer", "a\"b\\c\n\r\t\\q"}));
    EXPECT_EQ(splitWords("answer ''"), (Args{"answer", ""}));
    EXPECT_THROW(splitWords("answer \"open"), ScenarioError);
    EXPECT_THROW(splitWords("registry read 'open"), ScenarioError);
}

struct RunResult {
    std::string out;
    std::string error;
    bool failed = false;
};

RunResult runScript(const std::string& script) {
    std::ostringstream out;
    RunResult result;
    try {
        Scenario s(out, std::make_unique<SqliteRegistry>(":memory:", std::nullopt, seedRegistry));
        addCoreCommands(s);
        std::istringstream in(script);
        s.run(in);
    } catch (const ScenarioError& error) {
        result.failed = true;
        result.error = error.what();
    }
    result.out = out.str();
    return result;
}

TEST(ScenarioRun, RegistryCommandsGoThroughTheModule) {
    RunResult r = runScript(R"(# set-up, then the module's calls
registry set 'HKEY_CURRENT_USER\Software\T' v "  two  "
registry read 'HKEY_CURRENT_USER\Software\T' v
registry read 'HKEY_CURRENT_USER\Software\T\' v
app vantrel
registry read 'Software\T' v
registry write 'HKEY_CURRENT_USER\Software\T' w "written"
registry read 'HKEY_CURRENT_USER\Software\T' w
registry deletevalue 0x80000001 'Software\T' w
registry deletevalue 2147483649 'Software\T' w
)");
    EXPECT_FALSE(r.failed) << r.error;
    EXPECT_EQ(r.out, R"(= "two  "
> MsgBox "Tolvane" "Incorrect Format:\n\nHKEY_CURRENT_USER\\Software\\T\\" 0
= "Error"
> MsgBox "Vantrel" "Incorrect Format:\n\nSoftware\\T" 0
= ""
= "written"
= True
= False
)");
}

TEST(ScenarioRun, ErrorsNameTheLine) {
    RunResult r = runScript("wait 1\n\nfrobnicate\n");
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.error, "line 3: unknown command: frobnicate");
    r = runScript("wait soon\n");
    EXPECT_EQ(r.error, "line 1: not a number: soon");
    r = runScript("registry set 'HKXX\\a' v x\n");
    EXPECT_EQ(r.error, "line 1: unknown root key in HKXX\\a");
    r = runScript("print frmNowhere.Caption\n");
    EXPECT_EQ(r.error, "line 1: no window frmNowhere");
    r = runScript("registry read onlyone\n");
    EXPECT_EQ(r.error, "line 1: usage: registry read PATH NAME");
}

TEST(ScenarioRun, CommentsAreSkippedWhateverTheyHold) {
    RunResult r = runScript(R"(# an open "quote
  	# and 'another
registry set 'HKEY_CURRENT_USER\Software\T' v x
registry read 'HKEY_CURRENT_USER\Software\T' v
)");
    EXPECT_FALSE(r.failed) << r.error;
    EXPECT_EQ(r.out, "= \"x\"\n");
}

TEST(ScenarioRun, WaitsBeyondADayAreRefused) {
    EXPECT_FALSE(runScript("wait 86400\n").failed);
    EXPECT_EQ(runScript("wait 86400.5\n").error,
              "line 1: wait takes 0 to 86400 seconds (one day): 86400.5");
    EXPECT_TRUE(runScript("wait 1e300\n").failed);
    EXPECT_TRUE(runScript("wait -1\n").failed);
}

TEST(ScenarioProgram, AFolderIsNoScript) {
    fs::path folder = fs::temp_directory_path();
    testing::ScriptRun run = testing::runScript(folder);
    EXPECT_EQ(run.output, "scenario: " + folder.string() + " is a folder, not a script\n");
    EXPECT_EQ(WEXITSTATUS(run.status), 2);
}

// Every example script runs through the real program and prints what is expected.
TEST(ScenarioExamples, TranscriptsMatch) {
    fs::path examples = fs::path(TV_SOURCE_DIR) / "tools/scenario/examples";
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(examples)) {
        if (entry.path().extension() != ".scn") {
            continue;
        }
        fs::path expected = fs::path(entry.path()).replace_extension(".out");
        ASSERT_TRUE(fs::exists(expected)) << expected;
        testing::ScriptRun run = testing::runScript(entry.path());
        EXPECT_EQ(run.output, testing::readAll(expected)) << entry.path();
        EXPECT_EQ(run.status, 0) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace tv::scenario
