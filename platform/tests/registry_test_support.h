#pragma once
// Temporary folders and small value helpers for the registry store tests.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace tv::testing {

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tv-registry-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline long setString(RegistryApi& registry, HKEY key, const std::string& name,
                      const std::string& text, std::uint32_t type = REG_SZ) {
    return registry.RegSetValueExA(key, name, 0, type,
                                   reinterpret_cast<const std::uint8_t*>(text.data()),
                                   static_cast<std::uint32_t>(text.size()));
}

// The value as the query returns it, terminator included; empty on failure.
inline std::string queryString(RegistryApi& registry, HKEY key, const std::string& name) {
    std::vector<std::uint8_t> buffer(4096);
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    if (registry.RegQueryValueExA(key, name, &type, buffer.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    return std::string(buffer.begin(), buffer.begin() + size);
}

}  // namespace tv::testing
