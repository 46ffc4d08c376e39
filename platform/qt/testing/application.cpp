#include "platform/qt/testing/application.h"

#include <QApplication>

namespace tv::testing {

QApplication& application() {
    static int argc = 1;
    static char name[] = "tolvane-test";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv);
    }();
    return *instance;
}

}  // namespace tv::testing
