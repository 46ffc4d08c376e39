#pragma once
// What both desktop programs do the same way around their window logic: read their
// configuration once at start, open the settings store (or run on an in-memory one),
// keep one copy per session, and turn stop signals into the logic's own commands on
// the event loop.

#include <QSocketNotifier>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/environment.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/qt/qt_runtime.h"
#include "platform/registry_api.h"

namespace tv {

// The start-up configuration, read in main() and passed down from there.
struct ProgramStart {
    EnvironmentLookup environment;
    // The running executable's folder, without a trailing slash.
    std::string folder;
    StorePaths store;
};
ProgramStart readProgramStart();

// The settings store; when it cannot be opened, says why on standard error and gives
// an in-memory one, because a program had better run on defaults than not at all.
std::unique_ptr<RegistryApi> openStoreOrMemory(const StorePaths& paths,
                                               const std::string& programName);

// Delivers the listed signals on the event loop, one call each, through a pipe the
// handler writes to (nothing else is safe in a handler). One forwarder per process.
class SignalForwarder {
  public:
    SignalForwarder(std::initializer_list<int> signalNumbers, std::function<void(int)> onSignal);
    ~SignalForwarder();
    SignalForwarder(const SignalForwarder&) = delete;
    SignalForwarder& operator=(const SignalForwarder&) = delete;

  private:
    std::vector<int> signals_;
    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// The window logic's runtime in real time: its clock and the Qt runtime over it.
class RealTimeRuntime {
  public:
    QtRuntime& qt() { return qt_; }
    FormRuntime& runtime() { return qt_.runtime(); }

  private:
    RealClock clock_;
    QtRuntime qt_{clock_};
};

}  // namespace tv
