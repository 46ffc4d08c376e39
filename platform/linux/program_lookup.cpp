#include "platform/linux/program_lookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "runtime/strings.h"

namespace tv {
namespace {

std::string lowerWithoutExe(const std::string& name) {
    return toLowerAscii(withoutExe(name));
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

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
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
