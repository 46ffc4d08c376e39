#pragma once
// The per-user registry on Linux: one SQLite database shared by every process of the
// user. Names are matched without regard to ASCII case and keep the case they were
// created with. The values of the start-up key live in the XDG autostart folder.
//
// One object owns one connection and its open handles; use it from one thread.

#include <array>
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
inline constexpr long ERROR_BUSY = 170;
inline constexpr long ERROR_KEY_DELETED = 1018;
inline constexpr long ERROR_REGISTRY_CORRUPT = 1015;
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
    // Throws std::runtime_error when the database cannot be opened, is not a store or is
    // damaged; the message names the file. Opening an existing store only reads, so it
    // never waits for a writer, and a file that is not ours is not written to at all.
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
    // when it returns an error code. Autostart files are prepared before the commit and
    // put in place after it. ERROR_BUSY when another process kept the store locked for
    // the whole busy timeout.
    long transact(const std::function<long()>& body);

    // How long a writer waits for another one before giving up with ERROR_BUSY.
    void setBusyTimeout(int milliseconds);

    // Set once the database reported damaged pages: a message naming the file.
    const std::string& damage() const { return damage_; }

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

    struct ValueRow {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    // One enumeration in progress on a handle: rows read at index 0 in one query, so
    // walking the indexes is linear.
    template <typename Row>
    struct Listing {
        std::int64_t keyId = 0;
        std::uint32_t next = 0;
        std::vector<Row> rows;
    };

    // True when the file still needs its tables (new, or another process creating it).
    bool openDatabase(const std::string& path);
    bool checkExisting(const std::string& path);
    void closeDatabase();
    int noteResult(int rc);
    int beginWrite();
    bool journalModeIsWal();
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

    // Answers of earlier reads, kept while the store is unchanged: a monitor reading the
    // same few values every few seconds then runs no query at all.
    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    struct ReadCache {
        std::map<std::string, std::optional<OpenKey>> keys;  // by path in ASCII lower case
        std::map<std::int64_t, bool> exists;
        std::map<std::pair<std::int64_t, std::string>, std::optional<StoredValue>> values;
        void clear();
        // Room for one more answer; a store read in full starts over rather than grow.
        void makeRoom();
    };
    bool cacheUsable();
    // The cached answer to key, else query()'s, which is kept unless it is none (a read
    // error).
    template <typename Answer, typename Key, typename Query>
    std::optional<Answer> remembered(std::map<Key, Answer>& answers, Key key, Query query);
    void openChangeCheck();

    sqlite3* db_ = nullptr;
    std::map<const char*, sqlite3_stmt*> statements_;  // by the text at the calling site
    std::map<HKEY, OpenKey> handles_;
    HKEY nextHandle_ = 1;
    std::unique_ptr<AutostartFolder> autostart_;
    int transactionDepth_ = 0;
    int busyTimeoutMs_;
    std::string path_;
    std::string damage_;
    std::map<HKEY, Listing<ValueRow>> valueListings_;
    std::map<HKEY, Listing<std::string>> keyListings_;
    int shmFd_ = -1;
    std::array<unsigned char, 96> seenHeader_{};
    ReadCache cache_;
};

}  // namespace tv
