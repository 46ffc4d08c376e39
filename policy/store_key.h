#pragma once
// A key of the store held open between reads, so that reading it on every refresh
// costs one value query. A key removed and made again by another process is found
// again by its path.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace tv::policy {

class StoreKey {
  public:
    StoreKey(RegistryApi& registry, HKEY root, std::string path = {})
        : registry_(registry), root_(root), path_(std::move(path)) {}
    ~StoreKey() { close(); }
    StoreKey(const StoreKey&) = delete;
    StoreKey& operator=(const StoreKey&) = delete;

    const std::string& path() const { return path_; }
    void setPath(std::string path) {
        if (path != path_) {
            close();
            path_ = std::move(path);
        }
    }

    // The value's data into out (reusing its capacity); false when key or value is missing.
    bool read(const char* name, std::vector<std::uint8_t>& out) {
        if (handle_ != 0 && query(name, out)) {
            return true;
        }
        // Not open yet, or the key may have been replaced since.
        close();
        return open() && query(name, out);
    }

  private:
    bool open() {
        return registry_.RegOpenKeyExA(root_, path_, 0, KEY_READ, &handle_) == ERROR_SUCCESS ||
               (handle_ = 0, false);
    }
    void close() {
        if (handle_ != 0) {
            registry_.RegCloseKey(handle_);
            handle_ = 0;
        }
    }
    bool query(const char* name, std::vector<std::uint8_t>& out) {
        constexpr std::size_t kUsual = 128;
        if (out.capacity() < kUsual) {
            out.reserve(kUsual);
        }
        out.resize(out.capacity());
        std::uint32_t type = 0;
        auto size = static_cast<std::uint32_t>(out.size());
        long rc = registry_.RegQueryValueExA(handle_, name, &type, out.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            out.resize(size);
            rc = registry_.RegQueryValueExA(handle_, name, &type, out.data(), &size);
        }
        out.resize(rc == ERROR_SUCCESS ? size : 0);
        return rc == ERROR_SUCCESS;
    }

    RegistryApi& registry_;
    HKEY root_;
    std::string path_;
    HKEY handle_ = 0;
};

}  // namespace tv::policy
