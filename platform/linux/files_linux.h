#pragma once
// The Linux file service: a directory search with the platform's attribute rules
// (hidden = name starting with '.', read-only = not writable by us, never system),
// atomic replacement of whole files, and the folder the scheme manager keeps its
// temporary files in.

#include <functional>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/linux/environment.h"

namespace tv {

class LinuxFiles : public FileSystem {
  public:
    // Matches one file (no wildcards); folders never match.
    std::string Dir(const std::string& path, int attributes) override;
    bool deleteFile(const std::string& path) override;
    // Written to a new file beside the target (never through a symbolic link) and renamed
    // over it, so readers see the old or the new file, never a part.
    bool writeFile(const std::string& path, const std::string& bytes) override;
    // Only a regular file, never through a symbolic link.
    std::optional<std::string> readFile(const std::string& path) override;
};

// Everything left to read from an open descriptor; nothing on a read error.
std::optional<std::string> readToEnd(int fd);

// The program folder when it is ours and only we may write to it; otherwise a private
// folder of ours (mode 0700) named appName under $XDG_RUNTIME_DIR, else $XDG_CACHE_HOME, else
// ~/.cache, created when missing. A candidate that is a symbolic link, belongs to
// another user or is open to others is refused. Nothing when no folder qualifies.
std::optional<std::string> chooseTempFolder(const std::string& programFolder,
                                            const std::string& appName,
                                            const EnvironmentLookup& environment);

// The folder of the running executable, without a trailing slash.
std::string executableFolder();

}  // namespace tv
