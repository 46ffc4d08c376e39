#pragma once
// A private file view for tests and the scenario runner.

#include <map>

#include "platform/files.h"

namespace tv {

class MemoryFiles : public FileSystem {
  public:
    struct Entry {
        std::string bytes;
        int attributes = vbAttrNormal;
    };

    std::string Dir(const std::string& path, int attributes) override {
        auto it = files_.find(path);
        if (it == files_.end() || (it->second.attributes & ~attributes & 7) != 0) {
            return {};
        }
        size_t slash = path.find_last_of("/\\");
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }
    bool deleteFile(const std::string& path) override { return files_.erase(path) > 0; }
    bool writeFile(const std::string& path, const std::string& bytes) override {
        if (readOnlyFolder_ && path.starts_with(*readOnlyFolder_)) {
            return false;
        }
        files_[path].bytes = bytes;
        return true;
    }
    std::optional<std::string> readFile(const std::string& path) override {
        auto it = files_.find(path);
        if (it == files_.end()) {
            return std::nullopt;
        }
        return it->second.bytes;
    }

    void put(const std::string& path, std::string bytes, int attributes = vbAttrNormal) {
        files_[path] = {std::move(bytes), attributes};
    }
    bool has(const std::string& path) const { return files_.count(path) > 0; }
    // Writes below this folder fail, as in a folder the user may not write to.
    void setReadOnlyFolder(std::optional<std::string> folder) {
        readOnlyFolder_ = std::move(folder);
    }

  private:
    std::map<std::string, Entry> files_;
    std::optional<std::string> readOnlyFolder_;
};

}  // namespace tv
