#pragma once
// The files the scheme manager's window copies command output through, as the window
// sees them: on disk in its temporary folder while it is loaded, kept in memory when
// no folder is safe to use, and out of reach once it has unloaded, so a handler that
// was interrupted by the close cannot bring them back.

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/files.h"

namespace tv {

class WindowFiles : public FileSystem {
  public:
    // disk: used when onDisk; open: whether the window may touch its files now.
    WindowFiles(FileSystem& disk, bool onDisk, std::function<bool()> open)
        : disk_(disk), onDisk_(onDisk), open_(std::move(open)) {}

    std::string Dir(const std::string& path, int attributes) override;
    bool deleteFile(const std::string& path) override;
    bool writeFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> readFile(const std::string& path) override;

  private:
    FileSystem& disk_;
    bool onDisk_;
    std::function<bool()> open_;
    std::map<std::string, std::string> held_;
};

}  // namespace tv
