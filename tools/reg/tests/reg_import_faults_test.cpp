// Imports as real processes: start-up entries applied in order, all or nothing across the
// store and the autostart folder, a reader beside a held lock, an import killed midway.

#include <signal.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/linux/registry_sqlite.h"
#include "tools/reg/tests/reg_tool_fixture.h"

namespace {

using namespace tv::testing;
using tv::HKEY;
using tv::HKEY_CURRENT_USER;
using tv::KEY_READ;

const std::string kRun = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class RegImport : public RegTool {
  protected:
    std::string file(const std::string& body) {
        std::string path = dir_.file("import.reg");
        writeFile(path, "Windows Registry Editor Version 5.00\r\n\r\n" + body);
        return path;
    }
    bool entryExists(const std::string& name) {
        return std::filesystem::exists(dir_.file("config/autostart/" + name + ".desktop"));
    }
};

TEST_F(RegImport, StartupChangesTakeEffectInFileOrder) {
    EXPECT_EQ(reg({"import", file("[" + kRun +
                                  "]\r\n\"Tmp\"=\"/usr/bin/false\"\r\n\"Tmp\"=-\r\n"
                                  "[HKCU\\A]\r\n\"x\"=\"1\"\r\n")})
                  .out,
              kDone);
    EXPECT_FALSE(entryExists("Tmp"));
    EXPECT_EQ(reg({"query", "HKCU\\A", "/v", "x"}).exitCode, 0);

    ASSERT_EQ(reg({"add", kRun, "/v", "Keep", "/d", "/usr/bin/true", "/f"}).exitCode, 0);
    Result twice =
        reg({"import",
             file("[" + kRun + "]\r\n\"Keep\"=-\r\n\"Keep\"=-\r\n[HKCU\\B]\r\n\"x\"=\"1\"\r\n")});
    EXPECT_EQ(twice.exitCode, 0) << twice.err;
    EXPECT_FALSE(entryExists("Keep"));
}

TEST_F(RegImport, AFolderThatCannotBeWrittenImportsNothing) {
    std::filesystem::create_directories(dir_.file("config"));
    writeFile(dir_.file("config/autostart"), "a file where the folder should be");
    std::string path = file("[HKCU\\C]\r\n\"x\"=\"1\"\r\n[" + kRun + "]\r\n\"New\"=\"/bin/x\"\r\n");
    expectFailure(reg({"import", path}),
                  "ERROR: " + path + " line 6: Access is denied. Nothing was imported.");
    expectFailure(reg({"query", "HKCU\\C"}), kNotFound);
}

TEST_F(RegImport, ErrorsNameTheFileAndLine) {
    std::string path = file("[HKCU\\C]\r\n\"x\"=\"1\"\r\n[" + kRun + "]\r\n\"Bin\"=hex:00\r\n");
    expectFailure(reg({"import", path}),
                  "ERROR: " + path + " line 6: The parameter is incorrect. Nothing was imported.");
    expectFailure(reg({"query", "HKCU\\C"}), kNotFound);
    writeFile(path, "");
    expectFailure(reg({"import", path}), "ERROR: " + path + " is empty; nothing was imported.");
    // Names a desktop file or a .reg export could not carry.
    for (const char* name : {"two\nlines", "latin\xe9"}) {
        expectFailure(reg({"add", kRun, "/v", name, "/d", "/x", "/f"}),
                      "ERROR: The parameter is incorrect.");
    }
}

TEST_F(RegImport, AQueryGoesOnWhileAnotherProgramHoldsTheWriteLock) {
    ASSERT_EQ(reg({"add", "HKCU\\Held", "/v", "x", "/d", "before", "/f"}).exitCode, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.file("registry.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE; DELETE FROM vals;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    Result query = reg({"query", "HKCU\\Held"});
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(query.exitCode, 0) << query.err;
    EXPECT_EQ(query.out, "\nHKEY_CURRENT_USER\\Held\n    x    REG_SZ    before\n\n");
}

TEST_F(RegImport, AnotherProgramsDatabaseIsLeftByteForByte) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.file("registry.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "PRAGMA application_id=7; CREATE TABLE t(x);", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    std::string before = readFile(dir_.file("registry.db"));
    Result query = reg({"query", "HKCU"});
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_NE(query.err.find(dir_.file("registry.db")), std::string::npos) << query.err;
    EXPECT_EQ(readFile(dir_.file("registry.db")), before);
}

TEST_F(RegImport, KilledImportLeavesAllOrNothing) {
    constexpr int kValues = 3000;
    std::string body = "[" + kRun + "]\r\n\"Bulk\"=\"/bin/bulk\"\r\n[HKCU\\Bulk]\r\n";
    for (int i = 0; i < kValues; ++i) {
        body += "\"v" + std::to_string(i) + "\"=\"" + std::string(30, 'x') + "\"\r\n";
    }
    std::string path = file(body);
    ASSERT_EQ(reg({"query", "HKCU"}).exitCode, 0);  // the store exists before the first kill
    for (int delayMs = 0; delayMs < 72; delayMs += 3) {
        pid_t pid = start({"import", path});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        std::uint32_t count = 0;
        {
            tv::SqliteRegistry store(dir_.file("registry.db"), "");
            HKEY key = 0;
            if (store.RegOpenKeyExA(HKEY_CURRENT_USER, "Bulk", 0, KEY_READ, &key) == 0) {
                while (store.RegEnumValueA(key, count, nullptr, nullptr, nullptr) == 0) {
                    ++count;
                }
            }
        }
        ASSERT_TRUE(count == 0 || count == kValues) << count << " values after " << delayMs;
        // The entry file is put in place only after the commit.
        ASSERT_TRUE(count == kValues || !entryExists("Bulk")) << delayMs;
        reg({"delete", "HKCU\\Bulk", "/f"});
        reg({"delete", kRun, "/v", "Bulk", "/f"});
    }
}

}  // namespace
