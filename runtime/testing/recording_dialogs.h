#pragma once
// Dialogs for tests: records every box and answers input boxes from a queue.

#include <deque>
#include <string>
#include <vector>

#include "runtime/dialogs.h"

namespace tv::testing {

struct ShownBox {
    std::string prompt;
    int style;
    std::string title;
    bool operator==(const ShownBox&) const = default;
};

class RecordingDialogs : public Dialogs {
  public:
    void MsgBox(const std::string& prompt, int style, const std::string& title) override {
        boxes.push_back({prompt, style, title});
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        inputs.push_back({prompt, 0, title + "|" + defaultText});
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownBox> boxes;
    std::vector<ShownBox> inputs;
    std::deque<std::string> answers;
};

}  // namespace tv::testing
