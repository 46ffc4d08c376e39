#include "platform/linux/registry_sqlite.h"

#include <sqlite3.h>

#include <cstring>
#include <sstream>

#include "platform/linux/registry_sqlite_statement.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

// Keys, values and handles; registry_sqlite_open.cpp opens the file and runs the
// write transactions.

namespace tv {
namespace {

constexpr const char* kRootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;

bool isRoot(HKEY key) {
    return key >= kFirstRoot && key <= kLastRoot;
}

// Splits a subkey path into its names. A single trailing backslash is tolerated; a
// leading one or an empty name inside is refused, as the platform does.
long splitSubKey(const std::string& subKey, std::vector<std::string>* parts) {
    std::istringstream names(subKey);
    for (std::string part; std::getline(names, part, '\\');) {
        if (part.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        if (part.size() > kMaxKeyName || part.find('\0') != std::string::npos) {
            return ERROR_INVALID_PARAMETER;
        }
        parts->push_back(std::move(part));
    }
    return ERROR_SUCCESS;
}

bool validValueName(const std::string& name) {
    return name.size() <= kMaxValueName && name.find('\0') == std::string::npos;
}

// Query results carry string terminators even when the writer left them out.
long copyOut(std::uint32_t storedType, std::vector<std::uint8_t> bytes, std::uint32_t* type,
             std::uint8_t* data, std::uint32_t* cbData) {
    bool text = storedType == REG_SZ || storedType == REG_EXPAND_SZ || storedType == REG_MULTI_SZ;
    if (text && (bytes.empty() || bytes.back() != 0)) {
        bytes.push_back(0);
    }
    if (storedType == REG_MULTI_SZ && bytes.size() > 1 && bytes[bytes.size() - 2] != 0) {
        bytes.push_back(0);
    }
    if (type != nullptr) {
        *type = storedType;
    }
    if (cbData == nullptr) {
        return ERROR_SUCCESS;
    }
    std::uint32_t capacity = *cbData;
    *cbData = static_cast<std::uint32_t>(bytes.size());
    if (data == nullptr || bytes.empty()) {
        return ERROR_SUCCESS;
    }
    if (bytes.size() > capacity) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    return ERROR_SUCCESS;
}

}  // namespace

std::string rootKeyName(HKEY root) {
    return isRoot(root) ? kRootNames[root - kFirstRoot] : std::string();
}

std::optional<SqliteRegistry::OpenKey> SqliteRegistry::resolve(HKEY key) const {
    if (isRoot(key)) {
        return OpenKey{static_cast<std::int64_t>(key - kFirstRoot + 1), rootKeyName(key), true};
    }
    auto found = handles_.find(key);
    if (found == handles_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> SqliteRegistry::keyPath(HKEY key) const {
    auto open = resolve(key);
    return open ? std::optional<std::string>(open->path) : std::nullopt;
}

template <typename Answer, typename Key, typename Query>
std::optional<Answer> SqliteRegistry::remembered(std::map<Key, Answer>& answers, Key key,
                                                 Query query) {
    bool usable = cacheUsable();
    if (usable) {
        if (auto it = answers.find(key); it != answers.end()) {
            return it->second;
        }
    }
    std::optional<Answer> answer = query();
    if (usable && answer) {
        cache_.makeRoom();
        answers.emplace(std::move(key), *answer);
    }
    return answer;
}

bool SqliteRegistry::keyExists(std::int64_t id) {
    return remembered(cache_.exists, id,
                      [&]() -> std::optional<bool> {
                          Statement stmt(*this, "SELECT 1 FROM keys WHERE id = ?1");
                          int rc = stmt.bind(1, id).step();
                          if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
                              return std::nullopt;
                          }
                          return rc == SQLITE_ROW;
                      })
        .value_or(false);
}

std::optional<SqliteRegistry::OpenKey> SqliteRegistry::findKey(const std::string& path) {
    using Found = std::optional<OpenKey>;
    return remembered(cache_.keys, toLowerAscii(path),
                      [&]() -> std::optional<Found> {
                          Statement stmt(*this, "SELECT id, path FROM keys WHERE path = ?1");
                          int rc = stmt.bind(1, path).step();
                          if (rc != SQLITE_ROW) {
                              return rc == SQLITE_DONE ? std::optional<Found>(Found())
                                                       : std::nullopt;
                          }
                          return Found(OpenKey{sqlite3_column_int64(stmt.get(), 0),
                                               blobText(stmt.get(), 1), true});
                      })
        .value_or(std::nullopt);
}

HKEY SqliteRegistry::allocateHandle(OpenKey key) {
    while (nextHandle_ == 0 || isRoot(nextHandle_) || handles_.count(nextHandle_) != 0) {
        nextHandle_ = nextHandle_ >= kFirstRoot ? 1 : nextHandle_ + 1;
    }
    HKEY handle = nextHandle_++;
    handles_.emplace(handle, std::move(key));
    return handle;
}

bool SqliteRegistry::isRunKey(const OpenKey& key) const {
    return autostart_ != nullptr && equalsIgnoreCase(key.path, kRunKeyPath);
}

long SqliteRegistry::locate(HKEY key, const std::string& subKey, Location* where) const {
    where->parent = resolve(key);
    if (!where->parent) {
        return ERROR_INVALID_HANDLE;
    }
    long rc = splitSubKey(subKey, &where->parts);
    where->path = where->parent->path;
    for (const std::string& part : where->parts) {
        where->path += "\\" + part;
    }
    return rc;
}

long SqliteRegistry::RegOpenKeyExA(HKEY key, const std::string& subKey, std::uint32_t,
                                   std::uint32_t samDesired, HKEY* result) {
    Location where;
    if (long rc = locate(key, subKey, &where); rc != ERROR_SUCCESS) {
        return rc;
    }
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto& [parent, parts, path] = where;
    auto found = parts.empty() ? parent : findKey(path);
    if (!found || (parts.empty() && !isRoot(key) && !keyExists(found->id))) {
        return ERROR_FILE_NOT_FOUND;
    }
    // KEY_SET_VALUE, MAXIMUM_ALLOWED, GENERIC_ALL or GENERIC_WRITE.
    found->writable = (samDesired & (KEY_SET_VALUE | 0x02000000u | 0x10000000u | 0x40000000u)) != 0;
    *result = allocateHandle(std::move(*found));
    return ERROR_SUCCESS;
}

long SqliteRegistry::RegQueryValueExA(HKEY key, const std::string& valueName, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* cbData) {
    auto open = resolve(key);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if (data != nullptr && cbData == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (isRunKey(*open)) {
        std::uint32_t storedType = 0;
        std::vector<std::uint8_t> bytes;
        long rc = autostart_->read(valueName, &storedType, &bytes);
        return rc == ERROR_SUCCESS ? copyOut(storedType, bytes, type, data, cbData) : rc;
    }
    using Stored = std::optional<StoredValue>;
    std::optional<Stored> stored = remembered(
        cache_.values, std::pair(open->id, toLowerAscii(valueName)),
        [&]() -> std::optional<Stored> {
            Statement stmt(*this, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
            int rc = stmt.bind(1, open->id).bind(2, valueName).step();
            if (rc != SQLITE_ROW) {
                return rc == SQLITE_DONE ? std::optional<Stored>(Stored()) : std::nullopt;
            }
            return Stored(
                StoredValue{static_cast<std::uint32_t>(sqlite3_column_int64(stmt.get(), 0)),
                            blobBytes(stmt.get(), 1)});
        });
    if (!stored) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    return *stored ? copyOut((*stored)->type, std::move((*stored)->data), type, data, cbData)
                   : ERROR_FILE_NOT_FOUND;
}

long SqliteRegistry::writeValue(std::int64_t keyId, const std::string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
    Statement stmt(
        *this,
        "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4) ON CONFLICT(key, "
        "name) DO UPDATE SET type = excluded.type, data = excluded.data");
    int rc = stmt.bind(1, keyId).bind(2, name).bind(3, type).bindBlob(4, data, size).step();
    if (rc == SQLITE_CONSTRAINT) {
        return ERROR_KEY_DELETED;  // another process removed the key after we opened it
    }
    return rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

long SqliteRegistry::RegSetValueExA(HKEY key, const std::string& valueName, std::uint32_t,
                                    std::uint32_t type, const std::uint8_t* data,
                                    std::uint32_t cbData) {
    auto open = resolve(key);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if (!open->writable) {
        return ERROR_ACCESS_DENIED;
    }
    if (!validValueName(valueName) || (data == nullptr && cbData != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (isRunKey(*open)) {
        return autostart_->write(valueName, type, std::vector<std::uint8_t>(data, data + cbData));
    }
    return transact([&] { return writeValue(open->id, valueName, type, data, cbData); });
}

long SqliteRegistry::RegDeleteValueA(HKEY key, const std::string& valueName) {
    auto open = resolve(key);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if (!open->writable) {
        return ERROR_ACCESS_DENIED;
    }
    if (isRunKey(*open)) {
        return autostart_->remove(valueName);
    }
    return transact([&]() -> long {
        Statement stmt(*this, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
        if (stmt.bind(1, open->id).bind(2, valueName).step() != SQLITE_DONE) {
            return ERROR_REGISTRY_IO_FAILED;
        }
        return sqlite3_changes(db_) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

long SqliteRegistry::RegCloseKey(HKEY key) {
    valueListings_.erase(key);
    keyListings_.erase(key);
    if (isRoot(key)) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(key) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

long SqliteRegistry::createKeyPath(const OpenKey& parent, const std::vector<std::string>& parts,
                                   OpenKey* created) {
    OpenKey current = parent;
    for (const std::string& part : parts) {
        std::string path = current.path + "\\" + part;
        Statement insert(*this,
                         "INSERT INTO keys(parent, name, path) VALUES(?1, ?2, ?3) "
                         "ON CONFLICT(path) DO NOTHING");
        if (insert.bind(1, current.id).bind(2, part).bind(3, path).step() != SQLITE_DONE) {
            return ERROR_REGISTRY_IO_FAILED;
        }
        auto found = findKey(path);
        if (!found) {
            return ERROR_REGISTRY_IO_FAILED;
        }
        current = *found;
    }
    *created = current;
    return ERROR_SUCCESS;
}

long SqliteRegistry::RegCreateKeyExA(HKEY key, const std::string& subKey, HKEY* result) {
    Location where;
    if (long rc = locate(key, subKey, &where); rc != ERROR_SUCCESS) {
        return rc;
    }
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    OpenKey created{};
    long rc = transact([&]() -> long {
        if (!isRoot(key) && !keyExists(where.parent->id)) {
            return ERROR_KEY_DELETED;
        }
        return createKeyPath(*where.parent, where.parts, &created);
    });
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    created.writable = true;
    *result = allocateHandle(std::move(created));
    return ERROR_SUCCESS;
}

long SqliteRegistry::deleteBelow(const OpenKey& key, bool includeKey) {
    // '\\' sorts just below ']', so this range is every path below the key's.
    Statement subtree(*this, "DELETE FROM keys WHERE path > ?1 || '\\' AND path < ?1 || ']'");
    if (subtree.bind(1, key.path).step() != SQLITE_DONE) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    Statement self(
        *this, includeKey ? "DELETE FROM keys WHERE id = ?1" : "DELETE FROM vals WHERE key = ?1");
    return self.bind(1, key.id).step() == SQLITE_DONE ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

long SqliteRegistry::RegDeleteTree(HKEY key, const std::string& subKey) {
    Location where;
    if (long rc = locate(key, subKey, &where); rc != ERROR_SUCCESS) {
        return rc;
    }
    return transact([&]() -> long {
        auto target = where.parts.empty() ? where.parent : findKey(where.path);
        if (!target || !keyExists(target->id)) {
            return ERROR_FILE_NOT_FOUND;
        }
        return deleteBelow(*target, !where.parts.empty());
    });
}

long SqliteRegistry::RegEnumKeyA(HKEY key, std::uint32_t index, std::string* name) {
    auto open = resolve(key);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if (name == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    Listing<std::string>& listing = keyListings_[key];
    if (index == 0 || index != listing.next || listing.keyId != open->id) {
        listing = {open->id, 0, {}};
        Statement stmt(*this,
                       "SELECT name FROM keys WHERE parent = ?1 ORDER BY name COLLATE NOCASE");
        stmt.bind(1, open->id);
        int rc = SQLITE_ROW;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            listing.rows.push_back(blobText(stmt.get(), 0));
        }
        if (rc != SQLITE_DONE) {
            keyListings_.erase(key);
            return ERROR_REGISTRY_IO_FAILED;
        }
    }
    if (index >= listing.rows.size()) {
        keyListings_.erase(key);
        return ERROR_NO_MORE_ITEMS;
    }
    listing.next = index + 1;
    *name = listing.rows[index];
    return ERROR_SUCCESS;
}

long SqliteRegistry::RegEnumValueA(HKEY key, std::uint32_t index, std::string* name,
                                   std::uint32_t* type, std::vector<std::uint8_t>* data) {
    auto open = resolve(key);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if (isRunKey(*open)) {
        return autostart_->enumerate(index, name, type, data);
    }
    Listing<ValueRow>& listing = valueListings_[key];
    if (index == 0 || index != listing.next || listing.keyId != open->id) {
        listing = {open->id, 0, {}};
        Statement stmt(*this, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY rowid");
        stmt.bind(1, open->id);
        int rc = SQLITE_ROW;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            listing.rows.push_back({blobText(stmt.get(), 0),
                                    static_cast<std::uint32_t>(sqlite3_column_int64(stmt.get(), 1)),
                                    blobBytes(stmt.get(), 2)});
        }
        if (rc != SQLITE_DONE) {
            valueListings_.erase(key);
            return ERROR_REGISTRY_IO_FAILED;
        }
    }
    if (index >= listing.rows.size()) {
        valueListings_.erase(key);
        return ERROR_NO_MORE_ITEMS;
    }
    listing.next = index + 1;
    const ValueRow& row = listing.rows[index];
    if (name != nullptr) {
        *name = row.name;
    }
    if (type != nullptr) {
        *type = row.type;
    }
    if (data != nullptr) {
        *data = row.data;
    }
    return ERROR_SUCCESS;
}

}  // namespace tv
