#include "schemes/qt/applet_runner.h"

namespace tv {

std::unique_ptr<CapturedProcess> AppletRunner::startCaptured(const std::string& commandLine) {
    return inner_.startCaptured(commandLine);
}

std::unique_ptr<StartedProcess> AppletRunner::start(const std::string& commandLine,
                                                    int showWindow) {
    if (commandLine == kPowerAppletCommand) {
        launcher_.startProcess(commandLine, showWindow);
        return nullptr;
    }
    return inner_.start(commandLine, showWindow);
}

}  // namespace tv
