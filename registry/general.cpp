#include "registry/general.h"

#include <array>
#include <cstdint>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

namespace {

constexpr std::uint32_t kReadBufferSize = 255;
constexpr std::uint32_t kDeleteAccess = 0x3F;

}  // namespace

HKEY General::RootKeyFromName(const std::string& name) {
    static const std::array<std::pair<const char*, HKEY>, 7> kRoots = {{
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
        {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {"HKEY_DYN_DATA", HKEY_DYN_DATA},
    }};
    for (const auto& [rootName, handle] : kRoots) {
        if (name == rootName) {
            return handle;
        }
    }
    return 0;
}

SplitPath General::SplitRegistryPath(const std::string& path) {
    if (path.compare(0, 5, "HKEY_") != 0 || path.size() < 5 || path.back() == '\\') {
        dialogs_.MsgBox("Incorrect Format:\n\n" + path, vbOKOnly, appTitle_);
        return {lastRoot_, path};
    }
    size_t slash = path.find('\\');
    SplitPath split;
    if (slash == std::string::npos) {
        split.root = RootKeyFromName(path);
    } else {
        split.root = RootKeyFromName(path.substr(0, slash));
        split.subKey = path.substr(slash + 1);
    }
    lastRoot_ = split.root;
    return split;
}

std::string General::RegReadString(const std::string& fullPath, const std::string& valueName) {
    SplitPath split = SplitRegistryPath(fullPath);
    if (split.root == 0) {
        return {};
    }
    HKEY key = 0;
    if (registry_.RegOpenKeyExA(split.root, split.subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return kRegistryError;
    }
    std::array<std::uint8_t, kReadBufferSize> buffer;
    buffer.fill(' ');
    std::uint32_t size = kReadBufferSize;
    std::uint32_t type = REG_SZ;
    long result = registry_.RegQueryValueExA(key, valueName, &type, buffer.data(), &size);
    registry_.RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return kRegistryError;
    }
    // The whole buffer is read back: data, its NUL and the untouched blanks. Trimming
    // leaves the NUL last, which is then dropped.
    std::string text = trimBlanks(std::string(buffer.begin(), buffer.end()));
    if (text.empty()) {
        return {};
    }
    text.pop_back();
    return text;
}

void General::RegWriteString(const std::string& fullPath, const std::string& valueName,
                             const std::string& text) {
    SplitPath split = SplitRegistryPath(fullPath);
    if (split.root == 0) {
        return;
    }
    HKEY key = 0;
    if (registry_.RegOpenKeyExA(split.root, split.subKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
        return;
    }
    // The byte count is that of the encoded text, so multi-byte characters are not cut.
    registry_.RegSetValueExA(key, valueName, 0, REG_SZ,
                             reinterpret_cast<const std::uint8_t*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
    registry_.RegCloseKey(key);
}

bool General::RegDeleteValueAt(HKEY root, const std::string& subKey, const std::string& valueName) {
    HKEY key = 0;
    if (registry_.RegOpenKeyExA(root, subKey, 0, kDeleteAccess, &key) != ERROR_SUCCESS) {
        return false;
    }
    bool deleted = registry_.RegDeleteValueA(key, valueName) == ERROR_SUCCESS;
    registry_.RegCloseKey(key);
    return deleted;
}

}  // namespace tv
