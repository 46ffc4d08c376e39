#include "tools/scenario/scenario.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>

#include "runtime/numbers.h"

namespace tv::scenario {

Args splitWords(const std::string& line) {
    Args words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (c == '\'') {
            size_t end = line.find('\'', i + 1);
            if (end == std::string::npos) {
                throw ScenarioError("unclosed single quote");
            }
            word = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    char e = line[i++];
                    switch (e) {
                        case 'n':
                            word += '\n';
                            break;
                        case 'r':
                            word += '\r';
                            break;
                        case 't':
                            word += '\t';
                            break;
                        case '"':
                        case '\\':
                            word += e;
                            break;
                        default:
                            // A backslash before any other character stands for itself.
                            word += '\\';
                            word += e;
                    }
                    continue;
                }
                word += d;
            }
            if (!closed) {
                throw ScenarioError("unclosed double quote");
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

void ScriptDialogs::MsgBox(const std::string& prompt, int style, const std::string& title) {
    calls_.record("MsgBox", title, prompt, style);
}

std::string ScriptDialogs::InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText) {
    calls_.record("InputBox", prompt, title, defaultText);
    if (answers_.empty()) {
        return {};
    }
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer.value_or(std::string());
}

Scenario::Scenario(std::ostream& out, std::unique_ptr<RegistryApi> registry)
    : out_(out), registry_(std::move(registry)) {
    calls_.setSink([this](const std::string& line) { out_ << line << '\n'; });
    setAppTitle(appTitle_);
}

Scenario::~Scenario() {
    finish();
}

void Scenario::setAppTitle(std::string title) {
    appTitle_ = std::move(title);
    general_ = std::make_unique<General>(*registry_, dialogs_, appTitle_);
}

void Scenario::addCommand(const std::string& name, Handler handler) {
    commands_[name] = std::move(handler);
}

void Scenario::run(std::istream& script) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        // A comment is skipped before its words are split: it may hold any text.
        std::string::size_type first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        try {
            Args words = splitWords(line);
            if (words[0].starts_with('#')) {
                continue;
            }
            execute(words);
        } catch (const ScenarioError& error) {
            throw ScenarioError("line " + std::to_string(number) + ": " + error.what());
        } catch (const std::exception& error) {
            throw ScenarioError("line " + std::to_string(number) + ": " + error.what());
        }
    }
    if (script.bad()) {
        throw ScenarioError("cannot read the script after line " + std::to_string(number));
    }
    finish();
}

void Scenario::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    for (auto it = finish_.rbegin(); it != finish_.rend(); ++it) {
        (*it)();
    }
}

void Scenario::execute(const Args& words) {
    if (words.size() >= 2) {
        auto two = commands_.find(words[0] + " " + words[1]);
        if (two != commands_.end()) {
            two->second(*this, Args(words.begin() + 2, words.end()));
            return;
        }
    }
    auto one = commands_.find(words[0]);
    if (one == commands_.end()) {
        std::string name = words[0];
        if (words.size() >= 2 && commands_.lower_bound(words[0] + " ") != commands_.end() &&
            commands_.lower_bound(words[0] + " ")->first.starts_with(words[0] + " ")) {
            name += " " + words[1];
        }
        throw ScenarioError("unknown command: " + name);
    }
    one->second(*this, Args(words.begin() + 1, words.end()));
    out_.flush();
}

Control& Scenario::control(const std::string& name) {
    size_t dot = name.find('.');
    if (dot != std::string::npos) {
        Form& owner = form(name.substr(0, dot));
        Control* found = owner.find(name.substr(dot + 1));
        if (found == nullptr) {
            throw ScenarioError("no control " + name);
        }
        return *found;
    }
    const auto& loaded = runtime_.loadedForms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        if (Control* found = (*it)->find(name)) {
            return *found;
        }
    }
    throw ScenarioError("no control " + name + " in a loaded window");
}

Form& Scenario::form(const std::string& name) {
    Form* found = runtime_.findForm(name);
    if (found == nullptr || !found->isLoaded()) {
        throw ScenarioError("window " + name + " is not loaded");
    }
    return *found;
}

double Scenario::number(const std::string& word) {
    double value = 0;
    const char* begin = word.data();
    const char* end = begin + word.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        throw ScenarioError("not a number: " + word);
    }
    return value;
}

long long Scenario::integer(const std::string& word) {
    long long value = 0;
    int base = 10;
    std::string digits = word;
    bool negative = false;
    if (!digits.empty() && digits[0] == '-') {
        negative = true;
        digits.erase(0, 1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size()) {
        throw ScenarioError("not a whole number: " + word);
    }
    return negative ? -value : value;
}

void Scenario::expectArgs(const Args& args, size_t min, size_t max, const char* usage) {
    if (args.size() < min || args.size() > max) {
        throw ScenarioError(std::string("usage: ") + usage);
    }
}

}  // namespace tv::scenario
