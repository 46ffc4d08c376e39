#pragma once
// Platform calls a user would notice, written as one line each ("> NAME ARG ...").
// Fakes record into it; the scenario runner prints it as it happens.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tv {

// A bare word in a call line (a window name, "window"), printed without quotes.
struct Word {
    std::string text;
};

// Text in double quotes with \" \\ \n \r \t escaped, so every backslash shows doubled.
std::string quoteText(std::string_view text);

class CallLog {
  public:
    using Sink = std::function<void(const std::string&)>;

    explicit CallLog(Sink sink = {}) : sink_(std::move(sink)) {}

    void setSink(Sink sink) { sink_ = std::move(sink); }
    // A benchmark's refresh loop would otherwise grow the log without end.
    void keepLines(bool keep) { keep_ = keep; }

    template <typename... Args>
    void record(std::string_view name, const Args&... args) {
        std::string line = "> ";
        line += name;
        (appendArg(line, args), ...);
        if (keep_) {
            lines_.push_back(line);
        }
        if (sink_) {
            sink_(line);
        }
    }

    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

  private:
    static void appendArg(std::string& line, const Word& word) { line += " " + word.text; }
    static void appendArg(std::string& line, std::string_view text) {
        line += " " + quoteText(text);
    }
    static void appendArg(std::string& line, const std::string& text) {
        line += " " + quoteText(text);
    }
    static void appendArg(std::string& line, const char* text) { line += " " + quoteText(text); }
    template <typename T>
    requires std::is_arithmetic_v<T>
    static void appendArg(std::string& line, T number) { line += " " + std::to_string(number); }

    Sink sink_;
    bool keep_ = true;
    std::vector<std::string> lines_;
};

}  // namespace tv
