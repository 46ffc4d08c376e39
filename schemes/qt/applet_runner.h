#pragma once
// The scheme manager's process runner on Linux: every command goes to the runner it
// wraps, except the power applet's command line, which no Linux desktop understands.
// That one goes to the launcher, which opens the desktop's own power settings.

#include "platform/launcher.h"
#include "platform/process.h"

namespace tv {

class AppletRunner : public ProcessRunner {
  public:
    AppletRunner(ProcessRunner& inner, Launcher& launcher) : inner_(inner), launcher_(launcher) {}

    std::unique_ptr<CapturedProcess> startCaptured(const std::string& commandLine) override;
    // The applet's start gives no handle: it is never waited for.
    std::unique_ptr<StartedProcess> start(const std::string& commandLine, int showWindow) override;

  private:
    ProcessRunner& inner_;
    Launcher& launcher_;
};

}  // namespace tv
