#include "platform/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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

std::string lowerWithoutExe(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (name.size() > 4 && name.ends_with(".exe")) {
        name.resize(name.size() - 4);
    }
    return name;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> findInFolder(const std::string& wanted, const std::string& name,
                                        const std::string& folder) {
    if (folder.empty()) {
        return std::nullopt;
    }
    std::string exact = folder + "/" + name;
    if (isExecutableFile(exact)) {
        return exact;
    }
    // The smallest matching name wins, so the choice does not depend on directory order.
    std::optional<std::string> best;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string file = entry.path().filename().string();
        if (lowerWithoutExe(file) != wanted || (best && file >= *best)) {
            continue;
        }
        if (isExecutableFile(folder + "/" + file)) {
            best = file;
        }
    }
    if (best) {
        return folder + "/" + *best;
    }
    return std::nullopt;
}

std::vector<std::string> searchPath() {
    const char* path = std::getenv("PATH");
    std::string list = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= list.size()) {
        size_t colon = list.find(':', start);
        if (colon == std::string::npos) {
            colon = list.size();
        }
        // An empty entry would mean the current folder, which a window program must not search.
        if (colon > start) {
            folders.push_back(list.substr(start, colon - start));
        }
        start = colon + 1;
    }
    return folders;
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

std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return isExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    }
    std::string wanted = lowerWithoutExe(name);
    if (auto found = findInFolder(wanted, name, programFolder)) {
        return found;
    }
    for (const std::string& folder : searchPath()) {
        if (auto found = findInFolder(wanted, name, folder)) {
            return found;
        }
    }
    return std::nullopt;
}

}  // namespace tv
