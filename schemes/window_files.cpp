#include "schemes/window_files.h"

namespace tv {

std::string WindowFiles::Dir(const std::string& path, int attributes) {
    if (!open_()) {
        return {};
    }
    if (onDisk_) {
        return disk_.Dir(path, attributes);
    }
    return held_.count(path) > 0 ? path.substr(path.find_last_of('/') + 1) : std::string();
}

bool WindowFiles::deleteFile(const std::string& path) {
    if (!open_()) {
        return false;
    }
    return onDisk_ ? disk_.deleteFile(path) : held_.erase(path) > 0;
}

bool WindowFiles::writeFile(const std::string& path, const std::string& bytes) {
    if (!open_()) {
        return false;
    }
    if (onDisk_) {
        return disk_.writeFile(path, bytes);
    }
    held_[path] = bytes;
    return true;
}

std::optional<std::string> WindowFiles::readFile(const std::string& path) {
    if (!open_()) {
        return std::nullopt;
    }
    if (onDisk_) {
        return disk_.readFile(path);
    }
    auto it = held_.find(path);
    return it != held_.end() ? std::optional(it->second) : std::nullopt;
}

}  // namespace tv
