// The tool as concurrent processes on one store, and on a store it must not trust.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class PowercfgProcesses : public ::testing::Test {
  protected:
    pid_t start(const std::vector<std::string>& args) {
        pid_t pid = fork();
        if (pid == 0) {
            setenv("TOLVANE_REGISTRY", store_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
            setenv("TOLVANE_POWER_STATE_FILE", "/nonexistent", 1);
            freopen("/dev/null", "w", stdout);
            freopen((root_ / ("err-" + std::to_string(getpid()))).c_str(), "w", stderr);
            std::string program = std::string(TV_BIN_DIR) + "/powercfg";
            std::vector<std::string> copies = args;
            std::vector<char*> argv{program.data()};
            for (std::string& arg : copies) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        return pid;
    }

    static int finish(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Exit code, standard output and standard error together.
    std::pair<int, std::string> run(const std::string& args) {
        std::string command = "TOLVANE_REGISTRY='" + store_ + "' XDG_CONFIG_HOME='" +
                              root_.string() + "' TOLVANE_POWER_STATE_FILE=/nonexistent '" +
                              TV_BIN_DIR + "/powercfg' " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buffer;
        for (size_t n = 0; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            out.append(buffer.data(), n);
        }
        int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }

    tv::testing::TempDir folder_{"powercfg-faults"};
    fs::path root_{folder_.path()};
    std::string store_{folder_.file("registry.db")};
};

TEST_F(PowercfgProcesses, ConcurrentChangesOfOneSchemeAllLand) {
    // "Always On" never sleeps, so standby times need no hibernation after them.
    const std::array<std::string, 8> settings = {"monitor-timeout-ac",    "monitor-timeout-dc",
                                                 "disk-timeout-ac",       "disk-timeout-dc",
                                                 "standby-timeout-ac",    "standby-timeout-dc",
                                                 "processor-throttle-ac", "processor-throttle-dc"};
    const std::array<std::string, 8> labels = {
        "Turn off monitor (AC)",    "Turn off monitor (DC)",  "Turn off hard disks (AC)",
        "Turn off hard disks (DC)", "System standby (AC)",    "System standby (DC)",
        "Processor Throttle (AC)",  "Processor Throttle (DC)"};
    const std::array<std::string, 4> throttles = {"NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"};
    ASSERT_EQ(run("/LIST").first, 0);
    for (int round = 0; round < 8; ++round) {
        std::vector<std::string> values;
        std::vector<pid_t> writers;
        for (std::size_t i = 0; i < settings.size(); ++i) {
            values.push_back(i < 6 ? std::to_string(2 + round * 7 + static_cast<int>(i))
                                   : throttles[(static_cast<std::size_t>(round) + i) % 4]);
            writers.push_back(start({"/CHANGE", "Always On", "/" + settings[i], values[i]}));
        }
        for (pid_t writer : writers) {
            ASSERT_EQ(finish(writer), 0);
        }
        std::string shown = run("'/QUERY' 'Always On'").second;
        for (std::size_t i = 0; i < settings.size(); ++i) {
            std::string value = i < 6 ? "After " + values[i] + " mins" : values[i];
            std::string line = labels[i] + std::string(27 - labels[i].size(), ' ') + value + "\n";
            EXPECT_NE(shown.find(line), std::string::npos) << "round " << round << ": " << line;
        }
    }
}

TEST_F(PowercfgProcesses, ActivatingAndDeletingOneSchemeNeverBothSucceed) {
    ASSERT_EQ(run("/LIST").first, 0);
    for (int round = 0; round < 30; ++round) {
        ASSERT_EQ(run("/CREATE Racing").first, 0);
        pid_t activate = start({"/SETACTIVE", "Racing"});
        pid_t remove = start({"/DELETE", "Racing"});
        int activated = finish(activate);
        int removed = finish(remove);
        ASSERT_NE(activated == 0 && removed == 0, true) << "round " << round;
        // The active scheme is always one that exists.
        ASSERT_EQ(run("/QUERY").first, 0) << "round " << round;
        ASSERT_EQ(run("/SETACTIVE 'Always On'").first, 0);
        run("/DELETE Racing");
    }
}

TEST_F(PowercfgProcesses, CommandLineErrorsCreateNoStore) {
    for (const char* args : {"", "/BOGUS", "/?", "/CHANGE x /bogus 5", "/LIST extra",
                             "/QUERY two /NUMERICAL", "/CREATE ''"}) {
        run(args);
        EXPECT_FALSE(fs::exists(store_)) << args;
    }
}

TEST_F(PowercfgProcesses, DamagedStoreIsReportedNotReadAsMissingSchemes) {
    ASSERT_EQ(run("/LIST").first, 0);
    std::string bytes;
    {
        std::ifstream in(store_, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        bytes = all.str();
    }
    ASSERT_GT(bytes.size(), 3u * 4096u);
    std::fill(bytes.begin() + 2 * 4096, bytes.end(), '\xA5');
    std::ofstream(store_, std::ios::binary) << bytes;
    auto [code, out] = run("/LIST");
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(out.starts_with("powercfg: the registry store " + store_ + " is damaged")) << out;
}

}  // namespace
