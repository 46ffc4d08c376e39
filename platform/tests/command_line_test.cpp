#include "platform/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tv {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, SeparatesWordsAtBlanksAndTabs) {
    EXPECT_EQ(splitCommandLine(R"(POWERCFG /LIST)"), (Words{"POWERCFG", "/LIST"}));
    EXPECT_EQ(splitCommandLine("  a\t b   c  "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine(""), Words{});
    EXPECT_EQ(splitCommandLine(" \t "), Words{});
}

TEST(SplitCommandLine, QuotedNameKeepsBlanksAndSlashes) {
    EXPECT_EQ(splitCommandLine(R"(POWERCFG /QUERY "Portable/Laptop")"),
              (Words{"POWERCFG", "/QUERY", "Portable/Laptop"}));
    EXPECT_EQ(splitCommandLine(R"(POWERCFG /CHANGE "Home Office" /monitor-timeout-ac 20)"),
              (Words{"POWERCFG", "/CHANGE", "Home Office", "/monitor-timeout-ac", "20"}));
    EXPECT_EQ(splitCommandLine(R"(x "")"), (Words{"x", ""}));
    EXPECT_EQ(splitCommandLine(R"(x a"b c"d)"), (Words{"x", "ab cd"}));
}

TEST(SplitCommandLine, BackslashesCountOnlyBeforeQuotes) {
    EXPECT_EQ(splitCommandLine(R"(x a\b c\\d)"), (Words{"x", R"(a\b)", R"(c\\d)"}));
    EXPECT_EQ(splitCommandLine(R"(x a\"b)"), (Words{"x", R"(a"b)"}));
    EXPECT_EQ(splitCommandLine(R"(x a\\"b c")"), (Words{"x", R"(a\b c)"}));
    EXPECT_EQ(splitCommandLine(R"(x a\\\"b)"), (Words{"x", R"(a\"b)"}));
    EXPECT_EQ(splitCommandLine(R"(x "a\\")"), (Words{"x", R"(a\)"}));
}

TEST(SplitCommandLine, DoubledQuoteInsideQuotesIsOneQuote) {
    EXPECT_EQ(splitCommandLine(R"(x "a""b" c)"), (Words{"x", R"(a"b)", "c"}));
    EXPECT_EQ(splitCommandLine(R"(x "say ""hi""")"), (Words{"x", R"(say "hi")"}));
}

TEST(SplitCommandLine, UnclosedQuoteRunsToTheEnd) {
    EXPECT_EQ(splitCommandLine(R"(x "a b)"), (Words{"x", "a b"}));
}

TEST(SplitCommandLine, ProgramNameTakesNoEscapes) {
    EXPECT_EQ(splitCommandLine(R"("C:\Program Files\tool.exe" /x)"),
              (Words{R"(C:\Program Files\tool.exe)", "/x"}));
    EXPECT_EQ(splitCommandLine(R"(C:\a\"b c)"), (Words{R"(C:\a\"b)", "c"}));
    EXPECT_EQ(splitCommandLine(R"("a b"c d)"), (Words{"a b", "c", "d"}));
}

TEST(QuoteArgument, PlainNamesAreOnlyEnclosed) {
    EXPECT_EQ(quoteArgument("Portable/Laptop"), R"("Portable/Laptop")");
    EXPECT_EQ(quoteArgument(R"(a\b)"), R"("a\b")");
    EXPECT_EQ(quoteArgument(""), R"("")");
}

TEST(QuoteArgument, EscapesQuotesAndTrailingBackslashes) {
    EXPECT_EQ(quoteArgument(R"(a"b)"), R"("a\"b")");
    EXPECT_EQ(quoteArgument(R"(a\)"), R"("a\\")");
    EXPECT_EQ(quoteArgument(R"(a\"b)"), R"("a\\\"b")");
}

TEST(QuoteArgument, EveryNameRoundTrips) {
    const Words names = {R"(x" /DELETE "Portable/Laptop)",
                         R"(x\" /DELETE \"y)",
                         R"(\\server\share\)",
                         R"(""")",
                         "tab\tand  blanks",
                         "Ünïcödé \"quoted\" \\",
                         " leading and trailing ",
                         R"(\)"};
    for (const std::string& name : names) {
        Words words = splitCommandLine("POWERCFG /DELETE " + quoteArgument(name) + " /x");
        ASSERT_EQ(words.size(), 4u) << name;
        EXPECT_EQ(words[2], name);
        EXPECT_EQ(words[3], "/x");
    }
}

class ProgramFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/findprogram-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::create_directories(root_ / "app");
        std::filesystem::create_directories(root_ / "path");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string make(const std::string& relative, bool executable = true) {
        std::filesystem::path file = root_ / relative;
        std::ofstream(file) << "#!/bin/sh\n";
        ::chmod(file.c_str(), executable ? 0755 : 0644);
        return file.string();
    }
    std::string folder(const std::string& name) const { return (root_ / name).string(); }

    std::filesystem::path root_;
};

TEST_F(ProgramFolders, FindsProgramWithoutRegardToCaseOrExe) {
    std::string tool = make("app/powercfg");
    EXPECT_EQ(findProgram("POWERCFG", folder("app")), tool);
    EXPECT_EQ(findProgram("powercfg.exe", folder("app")), tool);
    EXPECT_EQ(findProgram("PowerCfg.EXE", folder("app")), tool);
    EXPECT_EQ(findProgram("powercfg", folder("app")), tool);
}

TEST_F(ProgramFolders, FindsExeNamedFileByPlainName) {
    std::string tool = make("app/Tool.exe");
    EXPECT_EQ(findProgram("tool", folder("app")), tool);
}

TEST_F(ProgramFolders, ProgramFolderComesBeforePath) {
    std::string mine = make("app/powercfg");
    make("path/powercfg");
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder("path").c_str(), 1);
    EXPECT_EQ(findProgram("POWERCFG", folder("app")), mine);
    EXPECT_EQ(findProgram("POWERCFG", folder("elsewhere")), folder("path") + "/powercfg");
    ::setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(ProgramFolders, SkipsFilesThatCannotRunAndFolders) {
    make("app/powercfg", false);
    std::filesystem::create_directories(root_ / "app" / "tool");
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder("path").c_str(), 1);
    EXPECT_EQ(findProgram("powercfg", folder("app")), std::nullopt);
    EXPECT_EQ(findProgram("tool", folder("app")), std::nullopt);
    EXPECT_EQ(findProgram("", folder("app")), std::nullopt);
    ::setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(ProgramFolders, NameWithSlashIsAPath) {
    std::string tool = make("app/powercfg");
    EXPECT_EQ(findProgram(tool, "/nowhere"), tool);
    EXPECT_EQ(findProgram(folder("app") + "/missing", "/nowhere"), std::nullopt);
}

TEST_F(ProgramFolders, SearchesPathWhenNoFolderGiven) {
    std::optional<std::string> shell = findProgram("SH", "");
    ASSERT_TRUE(shell.has_value());
    EXPECT_TRUE(shell->ends_with("/sh"));
}

}  // namespace
}  // namespace tv
