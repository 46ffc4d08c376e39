#pragma once
// The command-line manners every program and tool shares: --help prints the usage to
// standard output and exits 0, --version prints the project's version and exits 0,
// and a bad option gets one line on standard error that names it and points at
// --help, exit code 2.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr int kExitUsage = 2;

// What a program does with the arguments that are not --help or --version.
enum class Arguments {
    None,     // takes none: every other argument is refused
    Options,  // parses its own options; --help and --version count anywhere before "--"
    Words,    // Windows-style tools: only the first word is looked at, as later words
              // may be data; a first word in "--" other than these two is refused
};

struct CommandLine {
    std::string program;  // as the user types it: "tolvane", "battery-sim"
    std::string usage;    // the --help text, ending in a newline
    Arguments arguments = Arguments::None;
};

// Answers --help and --version, refuses what the kind of arguments rules out, and
// returns the exit code; nothing when the program should run.
std::optional<int> answerCommandLine(const CommandLine& line, const std::vector<std::string>& args,
                                     std::ostream& out, std::ostream& err);

// "PROGRAM: MESSAGE (see 'PROGRAM --help')", the one line of a usage error.
std::string usageErrorLine(std::string_view program, std::string_view message);
std::string unknownOptionLine(std::string_view program, std::string_view option);

}  // namespace tv
