// reg: the registry store from the command line, in the manner of the Windows tool.

#include <iostream>
#include <memory>

#include "platform/linux/registry_sqlite.h"
#include "tools/reg/reg_run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    tv::StorePaths paths = tv::resolveStorePaths(tv::processEnvironment());
    auto openStore = [&paths] {
        return std::make_unique<tv::SqliteRegistry>(paths.registry, paths.autostartDir);
    };
    return tv::reg::runReg(args, openStore, std::cin, std::cout, std::cerr);
}
