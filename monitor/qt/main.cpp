// Tolvane, the battery monitor of the notification area.

#include <QApplication>

#include "monitor/qt/monitor_program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));
    // The window lives on in the tray when it is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    tv::MonitorProgram program(tv::readProgramStart());
    return program.run();
}
