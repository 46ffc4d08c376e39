#include "platform/registry_sqlite.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/numbers.h"

namespace tv {
namespace {

constexpr HKEY kFirstRoot = HKEY_CLASSES_ROOT;
constexpr HKEY kLastRoot = HKEY_DYN_DATA;
constexpr const char* kRootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
// Marks a database as ours, so a foreign SQLite file is refused instead of altered.
constexpr int kApplicationId = 0x54564752;
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 5000;
constexpr int kPragmaRetries = 20;
// Every SQLite file starts with this; the application id is a big-endian word at 68.
constexpr char kSqliteMagic[] = "SQLite format 3";
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kApplicationIdOffset = 68;
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;

constexpr const char* kSchema = R"sql(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER NOT NULL,
  name TEXT NOT NULL,
  path TEXT NOT NULL COLLATE NOCASE UNIQUE);
CREATE INDEX keys_by_parent ON keys(parent, name COLLATE NOCASE);
CREATE TABLE vals(
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, name));
)sql";

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

bool makeFolders(const std::string& path) {
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos;
         pos = path.find('/', pos + 1)) {
        if (mkdir(path.substr(0, pos).c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

std::string envValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string blobText(sqlite3_stmt* stmt, int column) {
    const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return text == nullptr
               ? std::string()
               : std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

// What the first bytes of a file say, read before SQLite opens it: SQLite may write
// to a database it opens (journal recovery, WAL checkpoints), so a file that is
// plainly not ours is refused without being opened.
enum class FileKind { Empty, Candidate, NotDatabase, Foreign };

FileKind inspectFile(int fd) {
    unsigned char header[kHeaderSize];
    ssize_t size = pread(fd, header, sizeof header, 0);
    if (size == 0) {
        return FileKind::Empty;
    }
    if (size != static_cast<ssize_t>(kHeaderSize) ||
        std::memcmp(header, kSqliteMagic, sizeof kSqliteMagic) != 0) {
        return FileKind::NotDatabase;
    }
    const unsigned char* id = header + kApplicationIdOffset;
    auto applicationId = static_cast<std::uint32_t>(id[0] << 24 | id[1] << 16 | id[2] << 8 | id[3]);
    // Zero: a store whose first transaction is still in its write-ahead log.
    return applicationId == 0 || applicationId == static_cast<std::uint32_t>(kApplicationId)
               ? FileKind::Candidate
               : FileKind::Foreign;
}

std::vector<std::uint8_t> blobBytes(sqlite3_stmt* stmt, int column) {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, column));
    int size = sqlite3_column_bytes(stmt, column);
    return bytes == nullptr ? std::vector<std::uint8_t>()
                            : std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace

// Binds parameters and resets the cached statement when it goes out of scope.
class SqliteRegistry::Statement {
  public:
    Statement(SqliteRegistry& owner, const char* sql)
        : owner_(owner), stmt_(owner.statement(sql)) {}
    ~Statement() {
        if (stmt_ != nullptr) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& bindBlob(int index, const std::uint8_t* data, std::uint32_t size) {
        // A zero-length blob must still be a blob, not NULL.
        sqlite3_bind_blob(stmt_, index, size == 0 ? "" : static_cast<const void*>(data),
                          static_cast<int>(size), SQLITE_STATIC);
        return *this;
    }
    int step() { return stmt_ == nullptr ? SQLITE_ERROR : owner_.noteResult(sqlite3_step(stmt_)); }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    SqliteRegistry& owner_;
    sqlite3_stmt* stmt_;
};

StorePaths resolveStorePaths() {
    std::string config = envValue("XDG_CONFIG_HOME");
    // Relative values are invalid by the XDG rules and are ignored.
    if (config.empty() || config[0] != '/') {
        std::string home = envValue("HOME");
        if (home.empty()) {
            const passwd* user = getpwuid(getuid());
            home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
        }
        config = home + "/.config";
    }
    std::string registry = envValue("TOLVANE_REGISTRY");
    if (registry.empty()) {
        registry = config + "/tolvane/registry.db";
    }
    return {registry, config + "/autostart"};
}

std::string defaultRegistryPath() {
    return resolveStorePaths().registry;
}

std::string rootKeyName(HKEY root) {
    return isRoot(root) ? kRootNames[root - kFirstRoot] : std::string();
}

SqliteRegistry::SqliteRegistry(const std::string& path, std::optional<std::string> autostartDir,
                               Seeder seed)
    : busyTimeoutMs_(kBusyTimeoutMs), path_(path) {
    bool inMemory = path == ":memory:";
    if (!autostartDir) {
        autostartDir = inMemory ? std::string() : resolveStorePaths().autostartDir;
    }
    if (!autostartDir->empty()) {
        autostart_ = std::make_unique<AutostartFolder>(*autostartDir);
    }
    try {
        if (openDatabase(path)) {
            createIfNew(seed);
        }
        // The file is ours now: checkpoints on close may write to it.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    } catch (...) {
        closeDatabase();
        throw;
    }
}

SqliteRegistry::~SqliteRegistry() {
    closeDatabase();
}

void SqliteRegistry::closeDatabase() {
    for (auto& [sql, stmt] : statements_) {
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db_);
}

bool SqliteRegistry::openDatabase(const std::string& path) {
    FileKind kind = FileKind::Empty;
    if (path != ":memory:") {
        if (!makeFolders(path)) {
            throw std::runtime_error("cannot create the folder of " + path + ": " +
                                     std::strerror(errno));
        }
        // Created here so the store (and its journal files) are private to the user.
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
        }
        kind = inspectFile(fd);
        close(fd);
        if (kind == FileKind::NotDatabase) {
            throw std::runtime_error(path + " is not a registry store");
        }
        if (kind == FileKind::Foreign) {
            throw std::runtime_error(path + " is a database of another program");
        }
    }
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        throw std::runtime_error("cannot open " + path + ": " + message);
    }
    // Until the file is known to be ours, closing must not checkpoint into it.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    sqlite3_extended_result_codes(db_, 0);
    bool needsTables = kind == FileKind::Empty || checkExisting(path);
    // Switching to WAL needs a brief exclusive lock; another process may hold it. An
    // existing store is in WAL already and is not switched again, so opening it only
    // reads and never waits for a writer.
    for (int attempt = 0;; ++attempt) {
        int rc =
            sqlite3_exec(db_,
                         journalModeIsWal() ? "PRAGMA foreign_keys=ON;"
                                            : "PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON;",
                         nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            break;
        }
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt == kPragmaRetries) {
            throw std::runtime_error(path +
                                     " is not a usable registry store: " + sqlite3_errmsg(db_));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return needsTables;
}

bool SqliteRegistry::journalModeIsWal() {
    Statement stmt(*this, "PRAGMA journal_mode");
    return stmt.step() == SQLITE_ROW && equalsIgnoreCase(blobText(stmt.get(), 0), "wal");
}

// Only reads: the ownership check comes before anything that could write to the file.
bool SqliteRegistry::checkExisting(const std::string& path) {
    int tables = queryInt("SELECT count(*) FROM sqlite_master");
    int applicationId = queryInt("PRAGMA application_id");
    int version = queryInt("PRAGMA user_version");
    if (applicationId != kApplicationId) {
        // An empty database without marks is a store another process is creating.
        if (tables == 0 && applicationId == 0 && version == 0) {
            return true;
        }
        throw std::runtime_error(path + " is a database of another program");
    }
    if (version != kSchemaVersion) {
        throw std::runtime_error(path + " was made by an unknown version of the registry store");
    }
    Statement check(*this, "PRAGMA quick_check");
    int rc = check.step();
    std::string verdict = rc == SQLITE_ROW ? blobText(check.get(), 0) : sqlite3_errmsg(db_);
    if (verdict != "ok") {
        throw std::runtime_error("the registry store " + path + " is damaged (" + verdict +
                                 "); move it aside to start with a new one");
    }
    return false;
}

int SqliteRegistry::noteResult(int rc) {
    if ((rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) && damage_.empty()) {
        damage_ = "the registry store " + path_ + " is damaged (" + sqlite3_errmsg(db_) +
                  "); move it aside to start with a new one";
    }
    return rc;
}

void SqliteRegistry::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    sqlite3_busy_timeout(db_, milliseconds);
}

int SqliteRegistry::queryInt(const char* sql) {
    Statement stmt(*this, sql);
    if (int rc = stmt.step(); rc != SQLITE_ROW) {
        throw std::runtime_error((rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB
                                      ? "the registry store " + path_ + " is damaged"
                                      : "cannot read " + path_) +
                                 " (" + sqlite3_errmsg(db_) + ")");
    }
    return sqlite3_column_int(stmt.get(), 0);
}

void SqliteRegistry::createIfNew(const Seeder& seed) {
    // Checked under the write lock, so of two processes creating the store at once
    // only the first one builds and seeds it.
    long rc = transact([&]() -> long {
        if (queryInt("SELECT count(*) FROM sqlite_master") == 0) {
            std::string script = std::string(kSchema) +
                                 "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                 "; PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";";
            for (HKEY root = kFirstRoot; root <= kLastRoot; ++root) {
                script += "INSERT INTO keys(id, parent, name, path) VALUES(" +
                          std::to_string(root - kFirstRoot + 1) + ", 0, '" + rootKeyName(root) +
                          "', '" + rootKeyName(root) + "');";
            }
            if (sqlite3_exec(db_, script.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                throw std::runtime_error(std::string("cannot create the registry store: ") +
                                         sqlite3_errmsg(db_));
            }
            return seed ? seed(*this) : ERROR_SUCCESS;
        }
        if (queryInt("PRAGMA application_id") != kApplicationId) {
            throw std::runtime_error(path_ + " is a database of another program");
        }
        if (queryInt("PRAGMA user_version") != kSchemaVersion) {
            throw std::runtime_error(path_ +
                                     " was made by an unknown version of the registry store");
        }
        return ERROR_SUCCESS;
    });
    if (rc == ERROR_BUSY) {
        throw std::runtime_error("the registry store " + path_ +
                                 " is busy: another program is writing to it");
    }
    if (rc != ERROR_SUCCESS) {
        throw std::runtime_error("cannot seed the registry store (error " + std::to_string(rc) +
                                 ")");
    }
}

sqlite3_stmt* SqliteRegistry::statement(const char* sql) {
    sqlite3_stmt*& cached = statements_[sql];
    if (cached == nullptr) {
        sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &cached, nullptr);
    }
    return cached;
}

int SqliteRegistry::beginWrite() {
    // The busy handler waits up to the timeout; BEGIN may still give up early (another
    // process recovering the log), so it is tried again until the same deadline.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(busyTimeoutMs_);
    while (true) {
        int rc = noteResult(sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() >= deadline) {
            return rc;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

long SqliteRegistry::transact(const std::function<long()>& body) {
    // Writes change what an enumeration in progress would return.
    valueListings_.clear();
    keyListings_.clear();
    if (transactionDepth_ > 0) {
        return body();
    }
    auto failure = [](int rc) {
        return rc == SQLITE_BUSY || rc == SQLITE_LOCKED      ? ERROR_BUSY
               : rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB ? ERROR_REGISTRY_CORRUPT
                                                             : ERROR_REGISTRY_IO_FAILED;
    };
    if (int rc = beginWrite(); rc != SQLITE_OK) {
        return failure(rc);
    }
    long result = ERROR_REGISTRY_IO_FAILED;
    ++transactionDepth_;
    if (autostart_) {
        autostart_->beginBatch();
    }
    try {
        result = body();
    } catch (...) {
        --transactionDepth_;
        if (autostart_) {
            autostart_->abortBatch();
        }
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        valueListings_.clear();
        keyListings_.clear();
        throw;
    }
    --transactionDepth_;
    valueListings_.clear();
    keyListings_.clear();
    // Entry files are ready before the commit, so a folder that cannot be written
    // rolls the database back too; after the commit they only need renaming.
    if (result == ERROR_SUCCESS && autostart_) {
        result = autostart_->prepareBatch();
    }
    if (result == ERROR_SUCCESS) {
        if (int rc = noteResult(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr));
            rc != SQLITE_OK) {
            result = failure(rc);
        }
    }
    if (result != ERROR_SUCCESS) {
        if (!sqlite3_get_autocommit(db_)) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        if (autostart_) {
            autostart_->abortBatch();
        }
        return result;
    }
    return autostart_ ? autostart_->commitBatch() : ERROR_SUCCESS;
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

bool SqliteRegistry::keyExists(std::int64_t id) {
    Statement stmt(*this, "SELECT 1 FROM keys WHERE id = ?1");
    return stmt.bind(1, id).step() == SQLITE_ROW;
}

std::optional<SqliteRegistry::OpenKey> SqliteRegistry::findKey(const std::string& path) {
    Statement stmt(*this, "SELECT id, path FROM keys WHERE path = ?1");
    if (stmt.bind(1, path).step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return OpenKey{sqlite3_column_int64(stmt.get(), 0), blobText(stmt.get(), 1), true};
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
    Statement stmt(*this, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    int rc = stmt.bind(1, open->id).bind(2, valueName).step();
    if (rc != SQLITE_ROW) {
        return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : ERROR_REGISTRY_IO_FAILED;
    }
    auto storedType = static_cast<std::uint32_t>(sqlite3_column_int64(stmt.get(), 0));
    return copyOut(storedType, blobBytes(stmt.get(), 1), type, data, cbData);
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
    auto& [parent, parts, path] = where;
    OpenKey created{};
    long rc = transact([&]() -> long {
        if (!isRoot(key) && !keyExists(parent->id)) {
            return ERROR_KEY_DELETED;
        }
        return createKeyPath(*parent, parts, &created);
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
    auto& [parent, parts, path] = where;
    return transact([&]() -> long {
        auto target = parts.empty() ? parent : findKey(path);
        if (!target || !keyExists(target->id)) {
            return ERROR_FILE_NOT_FOUND;
        }
        return deleteBelow(*target, !parts.empty());
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
