// Tolvane, the battery monitor of the notification area.

#include <QApplication>
#include <iostream>

#include "monitor/qt/monitor_program.h"
#include "runtime/cli_manners.h"

namespace {

const char* const kUsage =
    "usage: tolvane [--help | --version]\n"
    "The battery monitor of the notification area: charge, power source, rating,\n"
    "estimates of battery life and charging time, and a warning at 5 %. It takes no\n"
    "other arguments. See tolvane(1) and the manual (\"Help\" in its menu).\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (std::optional<int> code =
            tv::answerCommandLine({"tolvane", kUsage, tv::Arguments::None}, {argv + 1, argv + argc},
                                  std::cout, std::cerr)) {
        return *code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));
    // The window lives on in the tray when it is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    tv::MonitorProgram program(tv::readProgramStart());
    return program.run();
}
