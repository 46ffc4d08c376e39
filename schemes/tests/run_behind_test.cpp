#include "schemes/run_behind.h"

#include <gtest/gtest.h>

#include "platform/testing/process_fake.h"

namespace tv {
namespace {

class Runs : public ::testing::Test {
  protected:
    VirtualClock clock;
    FormRuntime runtime{clock};
    Form form{runtime, "frmPower"};
    TextBox Text1{form, "Text1", "Text1"};
    FakeProcessRunner runner;
};

TEST_F(Runs, ChunksAreJoinedInOrder) {
    runner.answer("POWERCFG /LIST", {"Existing Power", " Schemes\r", "\n---\r\nHome\r\n"});
    RunBehind(runner, runtime, "POWERCFG /LIST", Text1);
    EXPECT_EQ(Text1.Text, "Existing Power Schemes\r\n---\r\nHome\r\n");
}

TEST_F(Runs, CommandWithoutOutputEmptiesTheBox) {
    RunBehind(runner, runtime, "POWERCFG /LIST", Text1);
    EXPECT_EQ(Text1.Text, "");
    EXPECT_EQ(runner.captured, (std::vector<std::string>{"POWERCFG /LIST"}));
}

TEST_F(Runs, CommandThatCannotStartLeavesNoStaleText) {
    runner.missing("POWERCFG");
    RunBehind(runner, runtime, "POWERCFG /LIST", Text1);
    EXPECT_EQ(Text1.Text, "");
}

TEST_F(Runs, BoxIsEmptiedOnlyOnceTheChildStarted) {
    std::string seenDuringFirstYield;
    runtime.setDoEvents([&] {
        if (seenDuringFirstYield.empty()) {
            seenDuringFirstYield = "[" + Text1.Text + "]";
        }
    });
    runner.answer("x", {"new"});
    RunBehind(runner, runtime, "x", Text1);
    EXPECT_EQ(seenDuringFirstYield, "[]");
    EXPECT_EQ(Text1.Text, "new");
}

TEST_F(Runs, ChunkEndsAtItsFirstZeroByte) {
    runner.answer("x", {std::string("ab\0cd", 5), "ef"});
    RunBehind(runner, runtime, "x", Text1);
    EXPECT_EQ(Text1.Text, "abef");
}

TEST_F(Runs, YieldsBeforeEveryReadAndAfterEveryChunk) {
    int turns = 0;
    runtime.setDoEvents([&] { ++turns; });
    runner.answer("x", {"a", "b"}, 3);
    RunBehind(runner, runtime, "x", Text1);
    // 3 silent reads, 2 chunks and the end: 6 reads, each after a turn; 2 turns after chunks.
    EXPECT_EQ(turns, 8);
}

// A child whose output comes in pieces of any size; records what each read asked for.
class Recorder : public ProcessRunner {
  public:
    class Run : public CapturedProcess {
      public:
        Run(Recorder& owner) : owner_(owner) {}
        ReadStatus read(std::string& chunk, std::size_t maxBytes) override {
            owner_.asked.push_back(maxBytes);
            if (owner_.left == 0) {
                return ReadStatus::Ended;
            }
            std::size_t take = std::min(maxBytes, owner_.left);
            chunk.append(take, static_cast<char>('a' + owner_.asked.size() % 26));
            owner_.left -= take;
            return ReadStatus::Data;
        }

      private:
        Recorder& owner_;
    };
    std::unique_ptr<CapturedProcess> startCaptured(const std::string&) override {
        return std::make_unique<Run>(*this);
    }
    std::unique_ptr<StartedProcess> start(const std::string&, int) override { return nullptr; }

    std::size_t left = 0;
    std::vector<std::size_t> asked;
};

TEST_F(Runs, ReadsAskForAtMost1023Bytes) {
    for (std::size_t size : {1023u, 1024u, 1025u}) {
        Recorder recorder;
        recorder.left = size;
        RunBehind(recorder, runtime, "x", Text1);
        EXPECT_EQ(Text1.Text.size(), size);
        EXPECT_EQ(recorder.asked, std::vector<std::size_t>(size > 1023 ? 3 : 2, 1023)) << size;
        EXPECT_EQ(Text1.Text.substr(1020, 4), size > 1023 ? "bbbc" : "bbb") << size;
    }
}

}  // namespace
}  // namespace tv
