#pragma once
// A private temporary folder for one test, removed with everything in it when the
// test ends, so no test writes to a fixed path or leaves files behind.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tv::testing {

class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "tv-test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder from " + pattern);
        }
        path_ = pattern;
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

}  // namespace tv::testing
