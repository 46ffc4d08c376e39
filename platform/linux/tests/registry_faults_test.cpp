// The store file under faults: files that are not ours, damaged pages, a writer holding
// the lock while others read and write.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/registry_sqlite.h"
#include "platform/linux/tests/registry_test_support.h"

namespace tv {
namespace {

using testing::queryString;
using testing::setString;
using testing::TempDir;

long noSeed(RegistryApi&) {
    return ERROR_SUCCESS;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A database made by another program, through SQLite directly; the write-ahead log is
// left behind when keepLog, as a program still running would leave it.
void makeDatabase(const std::string& path, const std::string& sql, bool keepLog = false) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    if (keepLog) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::string refusal(const std::string& path) {
    try {
        SqliteRegistry registry(path, "", noSeed);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "<opened>";
}

TEST(ForeignStoreFile, IsRefusedAndLeftByteForByte) {
    TempDir dir;
    makeDatabase(dir.file("app.db"),
                 "PRAGMA application_id=7; CREATE TABLE t(x); INSERT INTO t VALUES(1);");
    makeDatabase(dir.file("empty-other.db"), "PRAGMA application_id=7;");
    makeDatabase(dir.file("unmarked.db"), "CREATE TABLE t(x); INSERT INTO t VALUES(1);");
    makeDatabase(dir.file("logged.db"),
                 "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);", true);
    std::ofstream(dir.file("text.db")) << std::string(200, 't');
    for (const char* name : {"app.db", "empty-other.db", "unmarked.db", "logged.db", "text.db"}) {
        std::string path = dir.file(name);
        std::string before = fileBytes(path);
        std::string log = fileBytes(path + "-wal");
        EXPECT_NE(refusal(path).find(path), std::string::npos) << name;
        EXPECT_EQ(fileBytes(path), before) << name;
        EXPECT_EQ(fileBytes(path + "-wal"), log) << name;
    }
}

TEST(DamagedStoreFile, IsRefusedNamingTheFile) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    {
        SqliteRegistry registry(path, "", noSeed);
        HKEY key = 0;
        ASSERT_EQ(registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Many", &key), ERROR_SUCCESS);
        registry.transact([&] {
            for (int i = 0; i < 2000; ++i) {
                setString(registry, key, "value " + std::to_string(i), std::string(40, 'v'));
            }
            return ERROR_SUCCESS;
        });
    }
    std::string bytes = fileBytes(path);
    ASSERT_GT(bytes.size(), 16u * 4096u);
    // Pages in the middle of the file overwritten, as a failing disk would leave them.
    std::fill(bytes.begin() + 8 * 4096, bytes.begin() + 12 * 4096, '\xA5');
    std::ofstream(path, std::ios::binary) << bytes;
    std::string message = refusal(path);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("damaged"), std::string::npos) << message;
}

// Another writer holding the store's lock, through its own connection.
class HeldLock {
  public:
    explicit HeldLock(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        rc_ = sqlite3_exec(db_, "BEGIN IMMEDIATE; DELETE FROM vals;", nullptr, nullptr, nullptr);
    }
    ~HeldLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    bool held() const { return rc_ == SQLITE_OK; }

  private:
    sqlite3* db_ = nullptr;
    int rc_ = SQLITE_ERROR;
};

TEST(LockedStore, ReadersGoOnAndAWriterGivesUpAsBusy) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    {
        SqliteRegistry registry(path, "", noSeed);
        ASSERT_EQ(setString(registry, HKEY_CURRENT_USER, "v", "before"), ERROR_SUCCESS);
    }
    HeldLock lock(path);
    ASSERT_TRUE(lock.held());
    // Opening only reads, and reads see the last commit.
    SqliteRegistry registry(path, "", noSeed);
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "v"), std::string("before\0", 7));
    registry.setBusyTimeout(50);
    EXPECT_EQ(setString(registry, HKEY_CURRENT_USER, "w", "x"), ERROR_BUSY);
}

TEST(Enumeration, AWriteBetweenTwoIndexesIsSeen) {
    SqliteRegistry registry(":memory:", "", noSeed);
    setString(registry, HKEY_CURRENT_USER, "a", "1");
    setString(registry, HKEY_CURRENT_USER, "b", "2");
    std::string name;
    ASSERT_EQ(registry.RegEnumValueA(HKEY_CURRENT_USER, 0, &name, nullptr, nullptr), 0);
    EXPECT_EQ(name, "a");
    ASSERT_EQ(registry.RegDeleteValueA(HKEY_CURRENT_USER, "a"), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegEnumValueA(HKEY_CURRENT_USER, 1, &name, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    ASSERT_EQ(registry.RegEnumValueA(HKEY_CURRENT_USER, 0, &name, nullptr, nullptr), 0);
    EXPECT_EQ(name, "b");
}

}  // namespace
}  // namespace tv
