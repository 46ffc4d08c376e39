#include "platform/linux/files_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tv {
namespace {

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Ours alone: a real folder (not a link), owned by us, closed to others.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
        return false;
    }
    return true;
}

std::optional<std::string> privateFolderIn(const std::string& base, const std::string& appName,
                                           bool createBase) {
    if (base.empty() || base[0] != '/') {
        return std::nullopt;
    }
    if (createBase) {
        ::mkdir(base.c_str(), 0700);
    }
    struct stat info {};
    if (::stat(base.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    // In a folder others may write to without the sticky bit, ours could be renamed away
    // and replaced.
    if ((info.st_mode & 022) != 0 && (info.st_mode & S_ISVTX) == 0) {
        return std::nullopt;
    }
    std::string folder = base + "/" + appName;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    if (!isPrivateFolder(folder)) {
        return std::nullopt;
    }
    return folder;
}

// Writable by us and by nobody else, so nobody can swap our files under us: ours, and
// closed to the group and others.
bool isOwnWritableFolder(const std::string& folder) {
    struct stat info {};
    return !folder.empty() && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 022) == 0 &&
           ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

std::string LinuxFiles::Dir(const std::string& path, int attributes) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    std::string name = baseName(path);
    int found = vbAttrNormal;
    if (name.starts_with('.')) {
        found |= vbAttrHidden;
    }
    if (::access(path.c_str(), W_OK) != 0) {
        found |= vbAttrReadOnly;
    }
    return (found & ~attributes & 7) != 0 ? std::string() : name;
}

bool LinuxFiles::deleteFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool LinuxFiles::writeFile(const std::string& path, const std::string& bytes) {
    if (path.empty() || path.back() == '/') {
        return false;
    }
    std::string temp = folderOf(path) + "/." + baseName(path) + ".XXXXXX";
    // O_EXCL (inside mkostemp) never follows a planted link; rename replaces a link at
    // the target instead of writing through it.
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool written = writeAll(fd, bytes);
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> LinuxFiles::readFile(const std::string& path) {
    // Our files are never links or devices; one planted in their place is not read.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat info {};
    if (fd < 0) {
        return std::nullopt;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<std::string> bytes = readToEnd(fd);
    ::close(fd);
    return bytes;
}

std::optional<std::string> readToEnd(int fd) {
    std::string bytes;
    char buffer[65536];
    while (true) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

std::optional<std::string> chooseTempFolder(const std::string& programFolder,
                                            const std::string& appName,
                                            const EnvironmentLookup& environment) {
    if (isOwnWritableFolder(programFolder)) {
        return programFolder;
    }
    if (auto runtime = environment("XDG_RUNTIME_DIR")) {
        if (auto folder = privateFolderIn(*runtime, appName, false)) {
            return folder;
        }
    }
    std::optional<std::string> cache = environment("XDG_CACHE_HOME");
    if (!cache) {
        if (auto home = environment("HOME")) {
            cache = *home + "/.cache";
        }
    }
    if (cache) {
        return privateFolderIn(*cache, appName, true);
    }
    return std::nullopt;
}

std::string executableFolder() {
    std::vector<char> buffer(4096);
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return ".";
    }
    return folderOf(std::string(buffer.data(), static_cast<size_t>(length)));
}

}  // namespace tv
