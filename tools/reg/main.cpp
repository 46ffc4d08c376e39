// reg: the registry store from the command line, in the manner of the Windows tool.

#include <iostream>
#include <memory>

#include "platform/linux/registry_sqlite.h"
#include "runtime/cli_manners.h"
#include "tools/reg/reg_command.h"
#include "tools/reg/reg_run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Later words may be data (reg add ... /d --help), so only the first counts.
    if (std::optional<int> code = tv::answerCommandLine(
            {"reg", tv::reg::usageText(""), tv::Arguments::Words}, args, std::cout, std::cerr)) {
        return *code;
    }
    tv::StorePaths paths = tv::resolveStorePaths(tv::processEnvironment());
    auto openStore = [&paths] {
        return std::make_unique<tv::SqliteRegistry>(paths.registry, paths.autostartDir);
    };
    return tv::reg::runReg(args, openStore, std::cin, std::cout, std::cerr);
}
