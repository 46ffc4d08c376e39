#include "platform/linux/environment.h"

#include <cstdlib>

namespace tv {

EnvironmentLookup processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr || *value == '\0') {
            return std::nullopt;
        }
        return std::string(value);
    };
}

EnvironmentLookup fixedEnvironment(std::map<std::string, std::string> variables) {
    return
        [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
            auto it = variables.find(name);
            if (it == variables.end() || it->second.empty()) {
                return std::nullopt;
            }
            return it->second;
        };
}

}  // namespace tv
