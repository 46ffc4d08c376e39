#include "platform/linux/process_linux.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/command_line.h"
#include "platform/linux/program_lookup.h"

namespace tv {
namespace {

using SteadyClock = std::chrono::steady_clock;

struct ExitState {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

// A blocking wait on one child in its own thread: no zombie stays behind, and no
// process-wide signal handler is needed.
void reapInBackground(pid_t pid, std::shared_ptr<ExitState> state) {
    std::thread([pid, state = std::move(state)] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (state) {
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->ended.notify_all();
        }
    }).detach();
}

class FileActions {
  public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
  public:
    SpawnAttributes() {
        posix_spawnattr_init(&attr_);
        sigset_t all;
        sigfillset(&all);
        sigset_t none;
        sigemptyset(&none);
        // The child starts with default signal handling (SIGPIPE!) and nothing blocked.
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attr_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attr_; }

  private:
    posix_spawnattr_t attr_;
};

std::vector<std::string> childEnvironment(const ProcessOptions& options) {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : options.environment) {
            replaced = replaced || text.starts_with(name + "=");
        }
        if (!replaced) {
            entries.push_back(std::move(text));
        }
    }
    for (const auto& [name, value] : options.environment) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& text : texts) {
        out.push_back(text.data());
    }
    out.push_back(nullptr);
    return out;
}

// outputFd >= 0: standard output and error go there; -1: to /dev/null; -2: inherited.
std::optional<pid_t> spawn(const std::string& commandLine, const ProcessOptions& options,
                           int outputFd) {
    std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> path = findProgram(args[0], options.programFolder);
    if (!path) {
        return std::nullopt;
    }
    args[0] = *path;
    std::vector<std::string> env = childEnvironment(options);
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);

    FileActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(actions.get(), outputFd, 1);
        posix_spawn_file_actions_adddup2(actions.get(), outputFd, 2);
    } else if (outputFd == -1) {
        posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
    }
    // Nothing else of ours leaks into the child, so only its own output holds the pipe.
    posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
    SpawnAttributes attributes;
    pid_t pid = 0;
    if (posix_spawn(&pid, path->c_str(), actions.get(), attributes.get(), argv.data(),
                    envp.data()) != 0) {
        return std::nullopt;
    }
    return pid;
}

// A close-on-exec copy at 3 or above, so the child's 0, 1 and 2 never collide with it.
int highDescriptor(int fd) {
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

class PosixCapturedProcess : public CapturedProcess {
  public:
    PosixCapturedProcess(pid_t pid, int readFd, const ProcessOptions& options)
        : pid_(pid), fd_(readFd), pollMs_(options.pollMs), graceMs_(options.exitGraceMs) {}
    ~PosixCapturedProcess() override { finish(); }
    PosixCapturedProcess(const PosixCapturedProcess&) = delete;
    PosixCapturedProcess& operator=(const PosixCapturedProcess&) = delete;

    ReadStatus read(std::string& chunk, std::size_t maxBytes) override {
        if (fd_ < 0) {
            return ReadStatus::Ended;
        }
        pollfd wanted{fd_, POLLIN, 0};
        int ready = ::poll(&wanted, 1, pollMs_);
        if (ready > 0) {
            return readReady(chunk, maxBytes);
        }
        if (ready < 0 && errno != EINTR) {
            finish();
            return ReadStatus::Ended;
        }
        return silence();
    }

  private:
    ReadStatus readReady(std::string& chunk, std::size_t maxBytes) {
        size_t old = chunk.size();
        chunk.resize(old + maxBytes);
        ssize_t got = ::read(fd_, chunk.data() + old, maxBytes);
        chunk.resize(old + (got > 0 ? static_cast<size_t>(got) : 0));
        if (got > 0) {
            lastData_ = SteadyClock::now();
            return ReadStatus::Data;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            return ReadStatus::Pending;
        }
        finish();
        return ReadStatus::Ended;
    }

    // The child may be gone while something it started still holds the pipe: after a
    // short silence past the child's end the run is over.
    ReadStatus silence() {
        pollChild();
        if (reaped_) {
            auto quietSince = std::max(endedAt_, lastData_);
            if (SteadyClock::now() - quietSince >= std::chrono::milliseconds(graceMs_)) {
                finish();
                return ReadStatus::Ended;
            }
        }
        return ReadStatus::Pending;
    }

    void pollChild() {
        if (reaped_) {
            return;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            reaped_ = true;
            endedAt_ = SteadyClock::now();
        }
    }

    void finish() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        pollChild();
        if (!reaped_) {
            reaped_ = true;
            reapInBackground(pid_, nullptr);
        }
    }

    pid_t pid_;
    int fd_;
    int pollMs_;
    int graceMs_;
    bool reaped_ = false;
    SteadyClock::time_point endedAt_{};
    SteadyClock::time_point lastData_{};
};

class PosixStartedProcess : public StartedProcess {
  public:
    explicit PosixStartedProcess(std::shared_ptr<ExitState> state) : state_(std::move(state)) {}
    bool waitForExit(int milliseconds) override {
        std::unique_lock lock(state_->mutex);
        return state_->ended.wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)),
                                      [this] { return state_->done; });
    }

  private:
    std::shared_ptr<ExitState> state_;
};

}  // namespace

std::unique_ptr<CapturedProcess> PosixProcessRunner::startCaptured(const std::string& commandLine) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return nullptr;
    }
    int readFd = highDescriptor(ends[0]);
    int writeFd = highDescriptor(ends[1]);
    if (readFd < 0 || writeFd < 0) {
        ::close(readFd);
        ::close(writeFd);
        return nullptr;
    }
    std::optional<pid_t> pid = spawn(commandLine, options_, writeFd);
    // Our copy of the write end goes at once, so the pipe ends when the child's copies do.
    ::close(writeFd);
    if (!pid) {
        ::close(readFd);
        return nullptr;
    }
    return std::make_unique<PosixCapturedProcess>(*pid, readFd, options_);
}

std::unique_ptr<StartedProcess> PosixProcessRunner::start(const std::string& commandLine,
                                                          int showWindow) {
    std::optional<pid_t> pid = spawn(commandLine, options_, showWindow == SW_HIDE ? -1 : -2);
    if (!pid) {
        return nullptr;
    }
    auto state = std::make_shared<ExitState>();
    reapInBackground(*pid, state);
    return std::make_unique<PosixStartedProcess>(std::move(state));
}

}  // namespace tv
