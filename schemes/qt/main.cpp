// Vantrel, the power-scheme manager.

#include <QApplication>

#include "schemes/qt/vantrel_program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    tv::VantrelProgram program(tv::desktopSetup(tv::readProgramStart()));
    return program.run();
}
