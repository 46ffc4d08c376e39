#pragma once
// Children started directly (never through a shell) with posix_spawn. Standard input
// is /dev/null; captured runs share one pipe for standard output and error. Every
// child is reaped, also those nobody waits for.

#include <string>
#include <utility>
#include <vector>

#include "platform/process.h"

namespace tv {

struct ProcessOptions {
    // Searched before PATH (findProgram).
    std::string programFolder;
    // NAME=VALUE pairs set for the children on top of our own environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // How long one read waits for output before it reports "nothing yet".
    int pollMs = 25;
    // How long the pipe may stay silent after the child has ended before the run
    // counts as over, although something it started still holds the pipe open.
    int exitGraceMs = 150;
};

class PosixProcessRunner : public ProcessRunner {
  public:
    explicit PosixProcessRunner(ProcessOptions options) : options_(std::move(options)) {}

    std::unique_ptr<CapturedProcess> startCaptured(const std::string& commandLine) override;
    std::unique_ptr<StartedProcess> start(const std::string& commandLine, int showWindow) override;

  private:
    ProcessOptions options_;
};

}  // namespace tv
