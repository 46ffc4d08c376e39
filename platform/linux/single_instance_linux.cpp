#include "platform/linux/single_instance_linux.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace tv {

namespace {

bool isOwnPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

}  // namespace

std::string instanceLockPath(const std::string& name, const EnvironmentLookup& environment,
                             const std::string& fallbackRoot) {
    if (std::optional<std::string> runtime = environment("XDG_RUNTIME_DIR")) {
        return *runtime + "/" + name + ".lock";
    }
    std::string folder = fallbackRoot + "/" + name + "-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    // Someone else's folder, or a link planted there, is not ours to lock in.
    if (!isOwnPrivateFolder(folder)) {
        return {};
    }
    return folder + "/" + name + ".lock";
}

void FlockInstanceCheck::wakeHolder(int fd) const {
    if (wakeSignal_ == 0) {
        return;
    }
    char text[32] = {};
    ssize_t count = ::pread(fd, text, sizeof text - 1, 0);
    char* end = nullptr;
    long pid = count > 0 ? std::strtol(text, &end, 10) : 0;
    // Only a plausible id: the file is ours (0600, in our own folder), and kill()
    // refuses other users' processes anyway.
    if (pid > 1 && end != text && (*end == '\n' || *end == '\0')) {
        ::kill(static_cast<pid_t>(pid), wakeSignal_);
    }
}

FlockInstanceCheck::~FlockInstanceCheck() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FlockInstanceCheck::anotherInstanceRunning() {
    if (checked_) {
        return another_;
    }
    checked_ = true;
    if (lockPath_.empty()) {
        return false;
    }
    fd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        return false;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        another_ = errno == EWOULDBLOCK;
        if (another_) {
            wakeHolder(fd_);
        }
        ::close(fd_);
        fd_ = -1;
        return another_;
    }
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0) {
        ssize_t written = ::pwrite(fd_, pid.data(), pid.size(), 0);
        (void)written;  // without it the running copy is only not woken
    }
    return another_;
}

}  // namespace tv
