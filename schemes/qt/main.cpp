// Vantrel, the power-scheme manager.

#include <QApplication>
#include <iostream>

#include "runtime/cli_manners.h"
#include "schemes/qt/vantrel_program.h"

namespace {

const char* const kUsage =
    "usage: vantrel [--help | --version]\n"
    "The power-scheme manager: lists, shows, changes, creates, deletes and activates\n"
    "power schemes through the powercfg tool beside it. It takes no other arguments.\n"
    "See vantrel(1).\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (std::optional<int> code =
            tv::answerCommandLine({"vantrel", kUsage, tv::Arguments::None}, {argv + 1, argv + argc},
                                  std::cout, std::cerr)) {
        return *code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    tv::VantrelProgram program(tv::desktopSetup(tv::readProgramStart()));
    return program.run();
}
