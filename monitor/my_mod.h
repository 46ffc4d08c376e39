#pragma once
// The system folder and file lookups of the hibernation check.

#include <string>

#include "platform/files.h"
#include "platform/system_folder.h"

namespace tv {

class MyMod {
  public:
    MyMod(SystemDirectory& systemDirectory, FileSystem& files)
        : systemDirectory_(systemDirectory), files_(files) {}

    // Empty text when the system cannot tell.
    std::string GetSystemFolder();
    // Read-only, hidden and system files count.
    bool FileExists(const std::string& path);

  private:
    SystemDirectory& systemDirectory_;
    FileSystem& files_;
};

}  // namespace tv
