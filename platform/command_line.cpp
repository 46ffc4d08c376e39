#include "platform/command_line.h"

#include <cstddef>

namespace tv {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first word: no escapes, a leading quote runs to the next quote.
size_t readProgramName(const std::string& line, size_t i, std::string& word) {
    if (line[i] == '"') {
        size_t end = line.find('"', i + 1);
        if (end == std::string::npos) {
            word = line.substr(i + 1);
            return line.size();
        }
        word = line.substr(i + 1, end - i - 1);
        return end + 1;
    }
    while (i < line.size() && !isBlank(line[i])) {
        word += line[i++];
    }
    return i;
}

size_t readArgument(const std::string& line, size_t i, std::string& word) {
    bool quoted = false;
    while (i < line.size()) {
        char c = line[i];
        if (c == '\\') {
            size_t run = 0;
            while (i < line.size() && line[i] == '\\') {
                ++run;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                word.append(run / 2, '\\');
                if (run % 2 == 1) {
                    word += '"';
                    ++i;
                }
            } else {
                word.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                word += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        if (isBlank(c) && !quoted) {
            break;
        }
        word += c;
        ++i;
    }
    return i;
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < commandLine.size() && isBlank(commandLine[i])) {
        ++i;
    }
    if (i == commandLine.size()) {
        return words;
    }
    std::string program;
    i = readProgramName(commandLine, i, program);
    words.push_back(std::move(program));
    while (true) {
        while (i < commandLine.size() && isBlank(commandLine[i])) {
            ++i;
        }
        if (i >= commandLine.size()) {
            break;
        }
        std::string word;
        i = readArgument(commandLine, i, word);
        words.push_back(std::move(word));
    }
    return words;
}

std::string quoteArgument(const std::string& argument) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

}  // namespace tv
