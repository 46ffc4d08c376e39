#pragma once
// The per-user registry on Linux: one SQLite database shared by every process of the
// user. Names are matched without regard to ASCII case and keep the case they were
// created with. The values of the start-up key live in the XDG autostart folder.
//
// One object owns one connection and its open handles; use it from one thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/autostart.h"
#include "platform/linux/environment.h"
#include "platform/linux/registry_seed.h"
#include "platform/registry_api.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tv {

// Codes the interface header leaves out but this store can return.
inline constexpr long ERROR_BAD_PATHNAME = 161;
inline constexpr long ERROR_KEY_DELETED = 1018;
inline constexpr long ERROR_REGISTRY_IO_FAILED = 1016;

// The start-up key whose values are the autostart folder's entries.
inline constexpr const char* kRunKeyPath =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct StorePaths {
    std::string registry;
    std::string autostartDir;
};

// $TOLVANE_REGISTRY, else $XDG_CONFIG_HOME/tolvane/registry.db (~/.config when unset
// or relative); the autostart folder is $XDG_CONFIG_HOME/autostart.
StorePaths resolveStorePaths(const EnvironmentLookup& environment);

// Full name of a root handle ("HKEY_CURRENT_USER"), empty for anything else.
std::string rootKeyName(HKEY root);

class SqliteRegistry : public RegistryApi {
  public:
    using Seeder = std::function<long(RegistryApi&)>;

    // path: database file (created with its folders, mode 0700) or ":memory:".
    // autostartDir: folder behind the start-up key (resolveStorePaths gives the user's).
    // Unset or empty: the start-up key keeps its values in the database like any
    // other key, so tests never touch the user's desktop.
    // seed: runs once, in the transaction that creates the database.
    // Throws std::runtime_error when the database cannot be opened or is not a store.
    explicit SqliteRegistry(const std::string& path,
                            std::optional<std::string> autostartDir = std::nullopt,
                            Seeder seed = seedRegistry);
    ~SqliteRegistry() override;
    SqliteRegistry(const SqliteRegistry&) = delete;
    SqliteRegistry& operator=(const SqliteRegistry&) = delete;

    long RegOpenKeyExA(HKEY key, const std::string& subKey, std::uint32_t options,
                       std::uint32_t samDesired, HKEY* result) override;
    long RegQueryValueExA(HKEY key, const std::string& valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* cbData) override;
    long RegSetValueExA(HKEY key, const std::string& valueName, std::uint32_t reserved,
                        std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t cbData) override;
    long RegDeleteValueA(HKEY key, const std::string& valueName) override;
    long RegCloseKey(HKEY key) override;
    long RegCreateKeyExA(HKEY key, const std::string& subKey, HKEY* result) override;
    // An empty subKey clears the key's values and subkeys but keeps the key. The
    // autostart folder is never emptied by a tree removal, only by deleting values.
    long RegDeleteTree(HKEY key, const std::string& subKey) override;
    long RegEnumKeyA(HKEY key, std::uint32_t index, std::string* name) override;
    // Returns the stored bytes as they are (no terminator added).
    long RegEnumValueA(HKEY key, std::uint32_t index, std::string* name, std::uint32_t* type,
                       std::vector<std::uint8_t>* data) override;

    // Runs body in one write transaction: everything it writes lands, or nothing does
    // when it returns an error code. Autostart files are written after the commit.
    long transact(const std::function<long()>& body);

    // Full path of an open key with the stored case ("HKEY_CURRENT_USER\Control Panel").
    std::optional<std::string> keyPath(HKEY key) const;

  private:
    struct OpenKey {
        std::int64_t id;
        std::string path;
        bool writable;
    };
    class Statement;
    struct Location {
        std::optional<OpenKey> parent;
        std::vector<std::string> parts;
        std::string path;  // parent path and parts joined
    };

    void openDatabase(const std::string& path);
    void closeDatabase();
    long locate(HKEY key, const std::string& subKey, Location* where) const;
    void createIfNew(const Seeder& seed);
    int queryInt(const char* sql);
    sqlite3_stmt* statement(const char* sql);
    std::optional<OpenKey> resolve(HKEY key) const;
    bool keyExists(std::int64_t id);
    std::optional<OpenKey> findKey(const std::string& path);
    long createKeyPath(const OpenKey& parent, const std::vector<std::string>& parts,
                       OpenKey* created);
    long writeValue(std::int64_t keyId, const std::string& name, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t size);
    long deleteBelow(const OpenKey& key, bool includeKey);
    HKEY allocateHandle(OpenKey key);
    bool isRunKey(const OpenKey& key) const;

    sqlite3* db_ = nullptr;
    std::map<const char*, sqlite3_stmt*> statements_;  // by the text at the calling site
    std::map<HKEY, OpenKey> handles_;
    HKEY nextHandle_ = 1;
    std::unique_ptr<AutostartFolder> autostart_;
    int transactionDepth_ = 0;
};

}  // namespace tv
