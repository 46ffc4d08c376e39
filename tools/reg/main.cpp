// reg: the registry store from the command line, in the manner of the Windows tool.

#include <iostream>
#include <memory>

#include "platform/registry_sqlite.h"
#include "tools/reg/reg_run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto openStore = [] { return std::make_unique<tv::SqliteRegistry>(tv::defaultRegistryPath()); };
    return tv::reg::runReg(args, openStore, std::cin, std::cout, std::cerr);
}
