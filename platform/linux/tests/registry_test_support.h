#pragma once
// Small value helpers for the registry store tests.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_api.h"
#include "runtime/testing/temp_dir.h"

namespace tv::testing {

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
