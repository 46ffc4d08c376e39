#include "runtime/cli_manners.h"

#include "tv_version.h"

namespace tv {

namespace {

enum class Answer { None, Help, Version };

Answer answerOf(const std::string& arg) {
    if (arg == "--help") {
        return Answer::Help;
    }
    return arg == "--version" ? Answer::Version : Answer::None;
}

// The first --help or --version the program's kind of arguments lets count.
Answer findAnswer(const CommandLine& line, const std::vector<std::string>& args) {
    if (line.arguments == Arguments::Words) {
        return args.empty() ? Answer::None : answerOf(args.front());
    }
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (Answer answer = answerOf(arg); answer != Answer::None) {
            return answer;
        }
    }
    return Answer::None;
}

}  // namespace

std::optional<int> answerCommandLine(const CommandLine& line, const std::vector<std::string>& args,
                                     std::ostream& out, std::ostream& err) {
    switch (findAnswer(line, args)) {
        case Answer::Help:
            out << line.usage;
            return 0;
        case Answer::Version:
            out << line.program << ' ' << kVersion << '\n';
            return 0;
        case Answer::None:
            break;
    }
    bool refused =
        !args.empty() && (line.arguments == Arguments::None ||
                          (line.arguments == Arguments::Words && args.front().starts_with("--")));
    if (refused) {
        err << unknownOptionLine(line.program, args.front()) << '\n';
        return kExitUsage;
    }
    return std::nullopt;
}

std::string usageErrorLine(std::string_view program, std::string_view message) {
    std::string text(program);
    text += ": ";
    text += message;
    text += " (see '";
    text += program;
    text += " --help')";
    return text;
}

std::string unknownOptionLine(std::string_view program, std::string_view option) {
    return usageErrorLine(program, "unknown option '" + std::string(option) + "'");
}

}  // namespace tv
