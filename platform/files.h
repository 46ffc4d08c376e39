#pragma once
// Files the programs look for, write and read back. Attribute masks are those of the
// platform's directory search: a normal file always matches; read-only, hidden and
// system files only when the mask admits them.

#include <optional>
#include <string>

namespace tv {

inline constexpr int vbAttrNormal = 0;
inline constexpr int vbAttrReadOnly = 1;
inline constexpr int vbAttrHidden = 2;
inline constexpr int vbAttrSystem = 4;

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The file name (without folder) of the file at path if its attributes are
    // admitted by the mask, else empty text.
    virtual std::string Dir(const std::string& path, int attributes) = 0;
    // Removes a file; false when there was none or it could not be removed.
    virtual bool deleteFile(const std::string& path) = 0;
    // Replaces the whole file; false (and the old file untouched) when it cannot.
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    // The whole file, or nothing when it cannot be opened.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
};

}  // namespace tv
