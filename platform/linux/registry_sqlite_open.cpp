#include "platform/linux/registry_sqlite.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/linux/registry_sqlite_statement.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

// Opening, creating and checking the store's file, and its write transactions.

namespace tv {
namespace {

// Marks a database as ours, so a foreign SQLite file is refused instead of altered.
constexpr int kApplicationId = 0x54564752;
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 5000;
constexpr int kPragmaRetries = 20;
// Every SQLite file starts with this; the application id is a big-endian word at 68.
constexpr char kSqliteMagic[] = "SQLite format 3";
constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kApplicationIdOffset = 68;

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

bool makeFolders(const std::string& path) {
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos;
         pos = path.find('/', pos + 1)) {
        if (mkdir(path.substr(0, pos).c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
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

}  // namespace

StorePaths resolveStorePaths(const EnvironmentLookup& environment) {
    std::string config = environment("XDG_CONFIG_HOME").value_or("");
    // Relative values are invalid by the XDG rules and are ignored.
    if (config.empty() || config[0] != '/') {
        std::string home = environment("HOME").value_or("");
        if (home.empty()) {
            const passwd* user = getpwuid(getuid());
            home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
        }
        config = home + "/.config";
    }
    std::string registry =
        environment("TOLVANE_REGISTRY").value_or(config + "/tolvane/registry.db");
    return {registry, config + "/autostart"};
}

SqliteRegistry::SqliteRegistry(const std::string& path, std::optional<std::string> autostartDir,
                               Seeder seed)
    : busyTimeoutMs_(kBusyTimeoutMs), path_(path) {
    if (autostartDir && !autostartDir->empty()) {
        autostart_ = std::make_unique<AutostartFolder>(*autostartDir);
    }
    try {
        if (openDatabase(path)) {
            createIfNew(seed);
        }
        // The file is ours now: checkpoints on close may write to it.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
        openChangeCheck();
    } catch (...) {
        closeDatabase();
        throw;
    }
}

SqliteRegistry::~SqliteRegistry() {
    closeDatabase();
}

void SqliteRegistry::closeDatabase() {
    if (shmFd_ >= 0) {
        close(shmFd_);
        shmFd_ = -1;
    }
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

// Every commit, by any process, rewrites the log index header at the start of the
// store's -shm file (the WAL-index format SQLite documents: two copies of a header
// holding a change counter); a checkpoint that restarts the log rewrites it too. So
// the same header bytes mean the same contents, and a read the cache answers costs
// one small pread instead of a query. Without that file nothing is cached.
void SqliteRegistry::openChangeCheck() {
    if (path_ != ":memory:") {
        shmFd_ = open((path_ + "-shm").c_str(), O_RDONLY | O_CLOEXEC);
    }
}

bool SqliteRegistry::cacheUsable() {
    // Inside a write transaction a read may see what a rollback takes back.
    if (shmFd_ < 0 || transactionDepth_ > 0) {
        return false;
    }
    std::array<unsigned char, sizeof seenHeader_> header{};
    if (pread(shmFd_, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size())) {
        cache_.clear();
        return false;
    }
    // A header caught mid-write differs from both the old and the new one, so at worst
    // the cache starts over once more.
    if (header != seenHeader_) {
        cache_.clear();
        seenHeader_ = header;
    }
    return true;
}

void SqliteRegistry::ReadCache::clear() {
    keys.clear();
    exists.clear();
    values.clear();
}

void SqliteRegistry::ReadCache::makeRoom() {
    constexpr std::size_t kMaxAnswers = 4096;
    if (keys.size() + exists.size() + values.size() >= kMaxAnswers) {
        clear();
    }
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
    cache_.clear();
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
        cache_.clear();
        throw;
    }
    --transactionDepth_;
    valueListings_.clear();
    keyListings_.clear();
    cache_.clear();
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

}  // namespace tv
