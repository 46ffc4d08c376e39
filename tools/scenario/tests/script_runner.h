#pragma once
// Runs a script through the real scenario program, as a user would, on a fresh
// private store.

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tv::scenario::testing {

struct ScriptRun {
    std::string output;  // standard output and error, in order
    int status = -1;
};

inline ScriptRun runScript(const std::filesystem::path& script) {
    std::string command = std::string("env -u TOLVANE_REGISTRY ") + TV_BIN_DIR + "/scenario '" +
                          script.string() + "' 2>&1";
    ScriptRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer;
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), n);
    }
    run.status = pclose(pipe);
    return run;
}

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tv::scenario::testing
