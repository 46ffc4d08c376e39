#include "monitor/my_mod.h"

#include <array>
#include <cstring>

namespace tv {

std::string MyMod::GetSystemFolder() {
    std::array<char, 260> buffer{};
    if (systemDirectory_.GetSystemDirectoryA(buffer.data(), buffer.size()) == 0) {
        return {};
    }
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

bool MyMod::FileExists(const std::string& path) {
    return !files_.Dir(path, vbAttrReadOnly | vbAttrHidden | vbAttrSystem).empty();
}

}  // namespace tv
