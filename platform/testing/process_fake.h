#pragma once
// A runner for logic tests: canned output in given chunks, a record of every command
// line, and an optional hook that plays the effect of a started command.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"

namespace tv {

class FakeProcessRunner : public ProcessRunner {
  public:
    struct Output {
        std::vector<std::string> chunks;
        int silentReadsBefore = 0;  // "nothing yet" answers before the first chunk
    };

    // Every captured run of this command line answers with these chunks (the last
    // answer given wins). Command lines without an answer run and print nothing.
    void answer(const std::string& commandLine, std::vector<std::string> chunks,
                int silentReadsBefore = 0) {
        answers_[commandLine] = Output{std::move(chunks), silentReadsBefore};
    }
    // The next captured run of any command line answers with this, once.
    void answerNext(std::vector<std::string> chunks) {
        next_.push_back(Output{std::move(chunks), 0});
    }
    // Command lines that begin with this text cannot start (as when the program is missing).
    void missing(const std::string& commandLine) { missing_.push_back(commandLine); }

    // Called for every command line that starts; may change what later answers hold.
    std::function<void(const std::string& commandLine, int showWindow)> onStart;
    // Called for captured runs without a canned answer; empty text when unset.
    std::function<std::string(const std::string& commandLine)> respond;

    std::vector<std::string> captured;
    std::vector<std::pair<std::string, int>> started;
    std::vector<int> waits;

    std::unique_ptr<CapturedProcess> startCaptured(const std::string& commandLine) override {
        if (isMissing(commandLine)) {
            return nullptr;
        }
        captured.push_back(commandLine);
        Output output;
        if (!next_.empty()) {
            output = std::move(next_.front());
            next_.pop_front();
        } else if (auto it = answers_.find(commandLine); it != answers_.end()) {
            output = it->second;
        } else if (respond) {
            output.chunks = splitInto(respond(commandLine), 1000);
        }
        return std::make_unique<Run>(std::move(output));
    }

    std::unique_ptr<StartedProcess> start(const std::string& commandLine, int showWindow) override {
        if (isMissing(commandLine)) {
            return nullptr;
        }
        started.emplace_back(commandLine, showWindow);
        if (onStart) {
            onStart(commandLine, showWindow);
        }
        return std::make_unique<Started>(waits);
    }

    static std::vector<std::string> splitInto(const std::string& text, size_t size) {
        std::vector<std::string> chunks;
        for (size_t i = 0; i < text.size(); i += size) {
            chunks.push_back(text.substr(i, size));
        }
        return chunks;
    }

  private:
    class Run : public CapturedProcess {
      public:
        explicit Run(Output output) : output_(std::move(output)) {}
        ReadStatus read(std::string& chunk, std::size_t maxBytes) override {
            if (output_.silentReadsBefore > 0) {
                --output_.silentReadsBefore;
                return ReadStatus::Pending;
            }
            if (next_ >= output_.chunks.size()) {
                return ReadStatus::Ended;
            }
            std::string& piece = output_.chunks[next_];
            size_t take = std::min(maxBytes, piece.size() - offset_);
            chunk.append(piece, offset_, take);
            offset_ += take;
            if (offset_ >= piece.size()) {
                ++next_;
                offset_ = 0;
            }
            return ReadStatus::Data;
        }

      private:
        Output output_;
        size_t next_ = 0;
        size_t offset_ = 0;
    };

    class Started : public StartedProcess {
      public:
        explicit Started(std::vector<int>& waits) : waits_(waits) {}
        bool waitForExit(int milliseconds) override {
            waits_.push_back(milliseconds);
            return true;
        }

      private:
        std::vector<int>& waits_;
    };

    bool isMissing(const std::string& commandLine) const {
        for (const std::string& prefix : missing_) {
            if (commandLine.starts_with(prefix)) {
                return true;
            }
        }
        return false;
    }

    std::map<std::string, Output> answers_;
    std::deque<Output> next_;
    std::vector<std::string> missing_;
};

}  // namespace tv
