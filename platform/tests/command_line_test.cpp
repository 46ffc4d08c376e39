#include "platform/command_line.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tv
