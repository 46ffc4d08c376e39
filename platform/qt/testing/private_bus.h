#pragma once
// For tests of D-Bus clients: a private bus daemon of its own (socket and configuration
// in a temporary folder, so a "system" bus here never is the machine's), child
// processes for the stand-in services, and a wait that turns the Qt event loop.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "runtime/testing/poll_until.h"

namespace tv::testing {

// Starts argv[0] with the rest as arguments; env entries "NAME=VALUE" are added to the
// environment. stderr goes to /dev/null unless quiet is false.
inline pid_t spawnProcess(const std::vector<std::string>& args,
                          const std::vector<std::string>& env = {}, bool quiet = true) {
    pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& entry : env) {
            putenv(const_cast<char*>(entry.c_str()));
        }
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        if (quiet) {
            int devnull = ::open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// SIGTERM, then waits for the end; the exit status.
inline int stopProcess(pid_t pid) {
    int status = -1;
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, &status, 0);
    }
    return status;
}

// Turns the event loop until the condition holds or the time is up.
inline bool eventually(const std::function<bool()>& condition, int timeoutMs = 5000) {
    return tv::testing::pollUntil(condition, timeoutMs, [] { QCoreApplication::processEvents(); });
}

class PrivateBus {
  public:
    // type: "session" or "system" (only a name on this private daemon).
    explicit PrivateBus(const std::string& type = "session") {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "tv-bus-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        dir_ = pattern;
        std::string socket = dir_ + "/bus";
        std::ofstream(dir_ + "/bus.conf")
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration "
               "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            << "<busconfig><type>" << type << "</type><listen>unix:path=" << socket
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
            << "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            << "<allow own=\"*\"/></policy></busconfig>\n";
        daemon_ = spawnProcess({"/usr/bin/dbus-daemon", "--config-file=" + dir_ + "/bus.conf",
                                "--nofork", "--nopidfile"});
        address_ = "unix:path=" + socket;
        eventually([&] { return fs::exists(socket); });
    }
    ~PrivateBus() {
        stopProcess(daemon_);
        if (!dir_.empty()) {
            std::filesystem::remove_all(dir_);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return std::filesystem::exists(dir_ + "/bus"); }
    const std::string& address() const { return address_; }
    // A folder for the test's own files, removed with the bus.
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
    std::string address_;
    pid_t daemon_ = -1;
};

}  // namespace tv::testing
