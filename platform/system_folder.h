#pragma once
// The system folder (GetSystemDirectoryA) and the file view the hibernation check
// looks through.

#include <optional>
#include <string>

#include "platform/files.h"

namespace tv {

class SleepService;

class SystemDirectory {
  public:
    virtual ~SystemDirectory() = default;
    // Copies the folder and a NUL into buffer; the folder's length, or 0 on failure
    // (or when it does not fit, in which case the buffer is left alone).
    virtual unsigned GetSystemDirectoryA(char* buffer, unsigned size) = 0;
};

class FixedSystemDirectory : public SystemDirectory {
  public:
    explicit FixedSystemDirectory(std::optional<std::string> folder) : folder(std::move(folder)) {}
    unsigned GetSystemDirectoryA(char* buffer, unsigned size) override;

    std::optional<std::string> folder;  // none: the call fails
};

// Linux keeps no hibernation file. The hibernation check still looks for
// "<drive root>hiberfil.sys", so this pair answers it from the login manager: the
// system folder is the fixed "C:\WINDOWS\system32", and in the file view
// "C:\hiberfil.sys" exists, hidden and system, exactly while hibernation is
// available. Every other path goes to the underlying view (none: nothing exists).
inline constexpr const char* kStandInSystemDirectory = "C:\\WINDOWS\\system32";
inline constexpr const char* kStandInHibernationFile = "C:\\hiberfil.sys";

class HibernationFileView : public FileSystem {
  public:
    HibernationFileView(SleepService& sleep, FileSystem* underlying)
        : sleep_(sleep), underlying_(underlying) {}

    std::string Dir(const std::string& path, int attributes) override;
    bool deleteFile(const std::string& path) override;
    bool writeFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> readFile(const std::string& path) override;

  private:
    SleepService& sleep_;
    FileSystem* underlying_;
};

}  // namespace tv
