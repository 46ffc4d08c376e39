#include "platform/qt/program_scaffold.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "platform/linux/files_linux.h"

namespace tv {

namespace {

int signalPipe[2] = {-1, -1};

// The signal number travels through the pipe to the event loop.
extern "C" void forwardSignal(int signal) {
    char byte = static_cast<char>(signal);
    // Nothing to do when the pipe is full: the same request is already on its way.
    ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written;
}

}  // namespace

ProgramStart readProgramStart() {
    ProgramStart start;
    start.environment = processEnvironment();
    start.folder = executableFolder();
    start.store = resolveStorePaths(start.environment);
    return start;
}

std::unique_ptr<RegistryApi> openStoreOrMemory(const StorePaths& paths,
                                               const std::string& programName) {
    try {
        return std::make_unique<SqliteRegistry>(paths.registry, paths.autostartDir);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s: %s; settings will not be kept\n", programName.c_str(),
                     error.what());
        return std::make_unique<SqliteRegistry>(":memory:");
    }
}

SignalForwarder::SignalForwarder(std::initializer_list<int> signalNumbers,
                                 std::function<void(int)> onSignal)
    : signals_(signalNumbers), onSignal_(std::move(onSignal)) {
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char signal = 0;
        while (read(signalPipe[0], &signal, 1) > 0) {
            onSignal_(signal);
        }
    });
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : signals_) {
        sigaction(signal, &action, nullptr);
    }
}

SignalForwarder::~SignalForwarder() {
    if (!notifier_) {
        return;
    }
    notifier_.reset();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : signals_) {
        sigaction(signal, &action, nullptr);
    }
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

}  // namespace tv
