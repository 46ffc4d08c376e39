#pragma once
// Child processes started from a command line: captured runs whose output the window
// reads piece by piece between turns of its event loop, and runs that are only started.

#include <cstddef>
#include <memory>
#include <string>

namespace tv {

// Window styles a started program is asked to show with.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWMINIMIZED = 2;

enum class ReadStatus {
    Data,     // bytes were appended
    Pending,  // nothing arrived within a moment; ask again after a turn of the event loop
    Ended,    // the output is over
};

// One running child whose standard output and standard error share one pipe.
class CapturedProcess {
  public:
    virtual ~CapturedProcess() = default;
    // Appends at most maxBytes of output to chunk. Never blocks for more than a moment.
    virtual ReadStatus read(std::string& chunk, std::size_t maxBytes) = 0;
};

// A child started without capturing; dropping the handle neither waits nor kills.
class StartedProcess {
  public:
    virtual ~StartedProcess() = default;
    // Waits at most the given time; true when the child has ended.
    virtual bool waitForExit(int milliseconds) = 0;
};

class ProcessRunner {
  public:
    virtual ~ProcessRunner() = default;
    // Null when the program cannot be found or started.
    virtual std::unique_ptr<CapturedProcess> startCaptured(const std::string& commandLine) = 0;
    virtual std::unique_ptr<StartedProcess> start(const std::string& commandLine,
                                                  int showWindow) = 0;
};

}  // namespace tv
