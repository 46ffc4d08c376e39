// Which arguments each kind of command line answers, refuses or leaves to the program.
// What the answers print is checked on the built programs (tools/tests).

#include <gtest/gtest.h>

#include <sstream>

#include "runtime/cli_manners.h"

namespace tv {
namespace {

struct Outcome {
    std::optional<int> code;
    std::string out;
    std::string err;
};

Outcome answer(Arguments kind, std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    CommandLine line{"tool", "usage: tool [--help]\n", kind};
    std::optional<int> code = answerCommandLine(line, args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CommandLineManners, AProgramWithoutArgumentsRefusesAnyInOneLine) {
    Outcome refused = answer(Arguments::None, {"-geometry", "10x10"});
    EXPECT_EQ(refused.code, kExitUsage);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "tool: unknown option '-geometry' (see 'tool --help')\n");
    EXPECT_EQ(answer(Arguments::None, {}).code, std::nullopt);
}

TEST(CommandLineManners, ToolsKeepTheirOwnArguments) {
    EXPECT_EQ(answer(Arguments::Options, {"--dir", "x"}).code, std::nullopt);
    EXPECT_EQ(answer(Arguments::Options, {"--dir", "x", "--version"}).code, 0);
    EXPECT_EQ(answer(Arguments::Options, {"--", "--help"}).code, std::nullopt);
    // reg ADD KEY /d --help stores the text "--help".
    EXPECT_EQ(answer(Arguments::Words, {"ADD", "HKCU\\X", "/d", "--help"}).code, std::nullopt);
    EXPECT_EQ(answer(Arguments::Words, {"--help"}).code, 0);
    EXPECT_EQ(answer(Arguments::Words, {"--list"}).code, kExitUsage);
}

}  // namespace
}  // namespace tv
