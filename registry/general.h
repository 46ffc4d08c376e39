#pragma once
// Registry access by full text path ("HKEY_CURRENT_USER\Control Panel\PowerCfg"),
// linked into both programs. Reads give "Error" on failure; callers show it as is.

#include <string>

#include "platform/registry_api.h"
#include "runtime/dialogs.h"

namespace tv {

inline constexpr const char* kRegistryError = "Error";

struct SplitPath {
    HKEY root = 0;  // 0: no known root
    std::string subKey;
};

class General {
  public:
    General(RegistryApi& registry, Dialogs& dialogs, std::string appTitle)
        : registry_(registry), dialogs_(dialogs), appTitle_(std::move(appTitle)) {}

    static HKEY RootKeyFromName(const std::string& name);

    // A malformed path shows "Incorrect Format:" and is not split: the root of the
    // last well-formed path is kept and the whole path becomes the subkey.
    SplitPath SplitRegistryPath(const std::string& path);

    std::string RegReadString(const std::string& fullPath, const std::string& valueName);
    void RegWriteString(const std::string& fullPath, const std::string& valueName,
                        const std::string& text);
    bool RegDeleteValueAt(HKEY root, const std::string& subKey, const std::string& valueName);

    const std::string& appTitle() const { return appTitle_; }

  private:
    RegistryApi& registry_;
    Dialogs& dialogs_;
    std::string appTitle_;
    HKEY lastRoot_ = 0;
};

}  // namespace tv
