// The runner with real child processes. Children are made with sh -c here only.

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/linux/process_linux.h"

namespace tv {
namespace {

struct Drained {
    std::string text;
    std::vector<size_t> chunks;
    int pending = 0;
    bool ended = false;
};

// Reads as the window does, in pieces of at most 1,023 bytes. The cap on reads only
// turns a hang into a failure.
Drained drain(CapturedProcess& run, int maxReads = 400000) {
    Drained out;
    for (int i = 0; i < maxReads; ++i) {
        std::string chunk;
        ReadStatus status = run.read(chunk, 1023);
        if (status == ReadStatus::Ended) {
            out.ended = true;
            break;
        }
        if (status == ReadStatus::Pending) {
            ++out.pending;
            continue;
        }
        out.chunks.push_back(chunk.size());
        out.text += chunk;
    }
    return out;
}

std::unique_ptr<CapturedProcess> runShell(PosixProcessRunner& runner, const std::string& script) {
    return runner.startCaptured("sh -c \"" + script + "\"");
}

int zombieChildren() {
    int count = 0;
    DIR* proc = ::opendir("/proc");
    while (dirent* entry = proc ? ::readdir(proc) : nullptr) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        char state = 0;
        int parent = 0;
        fields >> state >> parent;
        count += (state == 'Z' && parent == ::getpid()) ? 1 : 0;
    }
    if (proc) {
        ::closedir(proc);
    }
    return count;
}

// Reaping happens in the background: waits (up to 5 s) for the last zombie to go.
bool zombiesGone() {
    for (int i = 0; i < 200; ++i) {
        if (zombieChildren() == 0) {
            return true;
        }
        ::usleep(25000);
    }
    return false;
}

TEST(CapturedRun, ChildThatWritesNothingEndsEmpty) {
    PosixProcessRunner runner({});
    auto run = runShell(runner, "exit 3");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run);
    EXPECT_TRUE(out.ended);
    EXPECT_EQ(out.text, "");
    EXPECT_TRUE(out.chunks.empty());
}

TEST(CapturedRun, StandardInputIsEmpty) {
    PosixProcessRunner runner({});
    auto run = runner.startCaptured("cat");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run);
    EXPECT_TRUE(out.ended);
    EXPECT_EQ(out.text, "");
}

TEST(CapturedRun, OutputAndErrorShareOnePipeInOrder) {
    PosixProcessRunner runner({});
    auto run = runShell(runner, "echo a; sleep 0.05; echo b 1>&2; sleep 0.05; echo c");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(drain(*run).text, "a\nb\nc\n");
}

TEST(CapturedRun, ChunksNeverExceedTheAskedSize) {
    PosixProcessRunner runner({});
    for (int size : {1023, 1024, 1025}) {
        auto run = runShell(runner, "head -c " + std::to_string(size) + " /dev/zero | tr '\\0' x");
        ASSERT_NE(run, nullptr);
        Drained out = drain(*run);
        EXPECT_EQ(out.text, std::string(static_cast<size_t>(size), 'x')) << size;
        for (size_t chunk : out.chunks) {
            EXPECT_LE(chunk, 1023u);
        }
        EXPECT_EQ(out.chunks.size() > 1, size > 1023) << size;
    }
}

TEST(CapturedRun, MegabytesWithLineBreaksArriveWholeAndInOrder) {
    PosixProcessRunner runner({});
    auto run = runShell(
        runner, "awk 'BEGIN { for (i = 0; i < 300000; i++) printf \\\"line %d\\r\\n\\\", i }'");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run);
    std::string expected;
    for (int i = 0; i < 300000; ++i) {
        expected += "line " + std::to_string(i) + "\r\n";
    }
    ASSERT_EQ(out.text.size(), expected.size());
    EXPECT_TRUE(out.text == expected);
    EXPECT_GT(out.chunks.size(), 3000u);
}

TEST(CapturedRun, GrandchildHoldingThePipeDoesNotHoldTheRun) {
    PosixProcessRunner runner({});
    auto run = runShell(runner, "sleep 30 & echo started");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run, 200);
    EXPECT_TRUE(out.ended);
    EXPECT_EQ(out.text, "started\n");
}

TEST(CapturedRun, ChildRunningOnAfterClosingItsOutputEndsTheRun) {
    PosixProcessRunner runner({});
    auto run = runShell(runner, "echo done; exec >&- 2>&-; sleep 2");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run, 200);
    EXPECT_TRUE(out.ended);
    EXPECT_EQ(out.text, "done\n");
}

TEST(CapturedRun, SlowChildYieldsNothingYetInsteadOfBlocking) {
    PosixProcessRunner runner({});
    auto run = runShell(runner, "sleep 0.3; echo late");
    ASSERT_NE(run, nullptr);
    Drained out = drain(*run);
    EXPECT_GT(out.pending, 0);
    EXPECT_EQ(out.text, "late\n");
}

TEST(CapturedRun, MissingProgramDoesNotStart) {
    PosixProcessRunner runner({});
    EXPECT_EQ(runner.startCaptured("no-such-program-here /LIST"), nullptr);
    EXPECT_EQ(runner.startCaptured(""), nullptr);
    EXPECT_EQ(runner.start("no-such-program-here", SW_HIDE), nullptr);
}

TEST(CapturedRun, ChildrenGetTheExtraEnvironment) {
    ProcessOptions options;
    options.environment = {{"TOLVANE_TEST_VALUE", "private store"}, {"HOME", "/nowhere"}};
    PosixProcessRunner runner(options);
    auto run = runShell(runner, "echo $TOLVANE_TEST_VALUE $HOME");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(drain(*run).text, "private store /nowhere\n");
}

TEST(CapturedRun, ArgumentsArriveAsQuoted) {
    PosixProcessRunner runner({});
    auto run = runner.startCaptured(R"(printf "[%s]" "a \"b\" c" "" "d\\")");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(drain(*run).text, R"([a "b" c][][d\])");
}

TEST(StartedRun, WaitSeesTheEndAndLeavesNoZombie) {
    PosixProcessRunner runner({});
    auto started = runner.start("sh -c \"sleep 0.1\"", SW_HIDE);
    ASSERT_NE(started, nullptr);
    EXPECT_TRUE(started->waitForExit(10000));
    EXPECT_EQ(zombieChildren(), 0);
}

TEST(StartedRun, BoundedWaitGivesUpOnALongChild) {
    PosixProcessRunner runner({});
    auto started = runner.start("sleep 1", SW_HIDE);
    ASSERT_NE(started, nullptr);
    EXPECT_FALSE(started->waitForExit(20));
    started.reset();  // dropping the handle neither waits nor kills
    EXPECT_TRUE(zombiesGone());
}

TEST(StartedRun, UnawaitedChildrenAreReaped) {
    PosixProcessRunner runner({});
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(runner.start("true", SW_HIDE), nullptr);
        auto run = runner.startCaptured("true");
        ASSERT_NE(run, nullptr);
        drain(*run);
    }
    EXPECT_TRUE(zombiesGone());
}

}  // namespace
}  // namespace tv
