#pragma once
// A launcher that records what it was asked to start.

#include <string>

#include "platform/launcher.h"
#include "runtime/call_log.h"

namespace tv {

class RecordingLauncher : public Launcher {
  public:
    explicit RecordingLauncher(CallLog& calls) : calls_(calls) {}
    void ShellExecuteA(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int showCommand) override {
        (void)directory;
        calls_.record("ShellExecute", operation, file, parameters, showCommand);
    }
    void startProcess(const std::string& commandLine, int showState) override {
        calls_.record("StartProcess", commandLine, showState);
    }

  private:
    CallLog& calls_;
};

}  // namespace tv
