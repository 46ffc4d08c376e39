#pragma once
// Runs the reg executable on a store and autostart folder in a temporary folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/tests/registry_test_support.h"

namespace tv::testing {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class RegTool : public ::testing::Test {
  protected:
    TempDir dir_;

    // Starts reg with its streams in files of the folder; reg() waits for it.
    pid_t start(const std::vector<std::string>& args, const std::string& input = "") {
        writeFile(dir_.file("stdin"), input);
        pid_t pid = fork();
        if (pid == 0) {
            setenv("TOLVANE_REGISTRY", dir_.file("registry.db").c_str(), 1);
            setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
            int in = open(dir_.file("stdin").c_str(), O_RDONLY);
            int out = open(dir_.file("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            int err = open(dir_.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(in, 0);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<char*> argv;
            std::string program = std::string(TV_BIN_DIR) + "/reg";
            argv.push_back(program.data());
            std::vector<std::string> copies = args;
            for (std::string& arg : copies) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        return pid;
    }

    Result reg(const std::vector<std::string>& args, const std::string& input = "") {
        pid_t pid = start(args, input);
        int status = 0;
        waitpid(pid, &status, 0);
        Result result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readFile(dir_.file("stdout"));
        result.err = readFile(dir_.file("stderr"));
        return result;
    }

    void expectFailure(const Result& result, const std::string& error) {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, error + "\n");
    }
};

inline constexpr const char* kDone = "The operation completed successfully.\n";
inline constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.";

}  // namespace tv::testing
