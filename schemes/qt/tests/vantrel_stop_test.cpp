// The real program stopped while the tool it waits for hangs: it ends, and leaves no
// temporary file behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "runtime/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waits for a condition that should come soon, giving up at a generous deadline.
template <typename Check>
bool soon(Check check) {
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class VantrelStop : public ::testing::Test {
  protected:
    void SetUp() override {
        // A program folder of its own, whose powercfg never answers.
        fs::copy_file(fs::path(TV_BIN_DIR) / "Vantrel", folder_ / "Vantrel");
        std::ofstream(folder_ / "powercfg") << "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 600\n";
        fs::permissions(folder_ / "powercfg", fs::perms::owner_all);
    }
    void TearDown() override {
        if (program_ > 0 && waitpid(program_, nullptr, WNOHANG) == 0) {
            kill(program_, SIGKILL);
            waitpid(program_, nullptr, 0);
        }
        if (std::optional<pid_t> tool = toolPid()) {
            kill(*tool, SIGKILL);
        }
    }

    void start() {
        program_ = fork();
        if (program_ == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("TOLVANE_REGISTRY", (folder_ / "registry.db").c_str(), 1);
            std::string path = (folder_ / "Vantrel").string();
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    std::optional<pid_t> toolPid() const {
        std::ifstream in(folder_ / "powercfg.pid");
        pid_t pid = 0;
        return in >> pid && pid > 0 ? std::optional(pid) : std::nullopt;
    }

    tv::testing::TempDir temp_{"vantrel-stop"};
    fs::path folder_ = temp_.path();
    pid_t program_ = -1;
};

TEST_F(VantrelStop, SigtermDuringAHangingListingEndsTheProgram) {
    start();
    ASSERT_TRUE(soon([&] { return toolPid().has_value(); })) << "the listing never started";
    kill(program_, SIGTERM);
    int status = 0;
    ASSERT_TRUE(soon([&] { return waitpid(program_, &status, WNOHANG) == program_; }))
        << "still running after SIGTERM";
    program_ = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        EXPECT_FALSE(fs::exists(folder_ / name)) << name;
    }
}

}  // namespace
