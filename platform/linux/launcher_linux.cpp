#include "platform/linux/launcher_linux.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/command_line.h"
#include "platform/linux/program_lookup.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

extern char** environ;

namespace tv {

namespace fs = std::filesystem;

const std::vector<std::vector<std::string>> kPowerSettingsCommands = {
    {"gnome-control-center", "power"},
    {"cinnamon-settings", "power"},
    {"mate-power-preferences"},
    {"xfce4-power-manager-settings"},
    {"systemsettings", "kcm_powerdevilprofilesconfig"},
    {"systemsettings5", "powerdevilprofilesconfig"},
    {"lxqt-config-powermanagement"},
};

namespace {

bool isPowerApplet(const std::vector<std::string>& words) {
    return !words.empty() && equalsIgnoreCase(words[0], "rundll32.exe") && words.size() >= 2 &&
           contains(toLowerAscii(words[1] + (words.size() > 2 ? words[2] : "")), "powercfg.cpl");
}

std::vector<std::string> powerSettingsCommand() {
    for (const std::vector<std::string>& candidate : kPowerSettingsCommands) {
        std::optional<std::string> program = findProgram(candidate[0], {});
        if (program) {
            std::vector<std::string> argv = candidate;
            argv[0] = *program;
            return argv;
        }
    }
    return {};
}

}  // namespace

std::string programInFolder(const std::string& path) {
    fs::path full(path);
    std::string wanted = withoutExe(full.filename().string());
    std::error_code error;
    for (fs::directory_iterator it(full.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (equalsIgnoreCase(withoutExe(name), wanted) && isExecutableFile(it->path().string())) {
            return it->path().string();
        }
    }
    return {};
}

std::string helpFileTarget(const std::string& path) {
    if (path.size() <= 4 || !endsWithIgnoreCase(path, ".chm")) {
        return path;
    }
    return (fs::path(path).parent_path() / "manual" / "index.html").string();
}

bool spawnDetached(const std::vector<std::string>& argv, const std::string& directory) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session: the started program outlives us and gets none of our signals.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        return false;
    }
    // Reaped in the background, so no zombie is left and nothing here waits.
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return true;
}

std::vector<std::string> LinuxLauncher::openCommand(const std::string& operation,
                                                    const std::string& file,
                                                    const std::string& parameters) const {
    if (!operation.empty() && operation != "open") {
        return {};
    }
    if (file.size() > 4 && endsWithIgnoreCase(file, ".exe")) {
        std::string program = programInFolder(file);
        if (program.empty()) {
            return {};
        }
        std::vector<std::string> argv = {program};
        for (std::string& arg : splitCommandLine("x " + parameters)) {
            argv.push_back(std::move(arg));
        }
        argv.erase(argv.begin() + 1);
        return argv;
    }
    std::string target = helpFileTarget(file);
    std::error_code error;
    if (!fs::exists(target, error)) {
        return {};
    }
    if (std::optional<std::string> opener = findProgram("xdg-open", {})) {
        return {*opener, target};
    }
    return {};
}

std::vector<std::string> LinuxLauncher::startCommand(const std::string& commandLine) const {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty()) {
        return {};
    }
    if (isPowerApplet(words)) {
        return powerSettingsCommand();
    }
    std::optional<std::string> program = findProgram(words[0], programFolder_);
    if (!program) {
        return {};
    }
    words[0] = *program;
    return words;
}

void LinuxLauncher::ShellExecuteA(const std::string& operation, const std::string& file,
                                  const std::string& parameters, const std::string& directory,
                                  int showCommand) {
    (void)showCommand;
    std::vector<std::string> argv = openCommand(operation, file, parameters);
    if (!argv.empty()) {
        spawnDetached(argv, directory);
    }
}

void LinuxLauncher::startProcess(const std::string& commandLine, int showState) {
    (void)showState;
    std::vector<std::string> argv = startCommand(commandLine);
    if (!argv.empty()) {
        spawnDetached(argv);
    }
}

}  // namespace tv
