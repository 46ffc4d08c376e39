#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

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

// In memory, and on a file, where reads are answered from the cache while the store
// is unchanged.
class Store : public ::testing::TestWithParam<bool> {
  protected:
    TempDir dir_;
    SqliteRegistry registry_{GetParam() ? dir_.file("registry.db") : ":memory:", std::nullopt,
                             noSeed};

    HKEY create(const std::string& path, HKEY root = HKEY_CURRENT_USER) {
        HKEY key = 0;
        EXPECT_EQ(registry_.RegCreateKeyExA(root, path, &key), ERROR_SUCCESS);
        return key;
    }
    long open(const std::string& path, HKEY* key, HKEY root = HKEY_CURRENT_USER) {
        return registry_.RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WRITE, key);
    }
};

TEST_P(Store, OpeningAMissingKeyFailsAndCreatesNothing) {
    HKEY key = 0;
    EXPECT_EQ(open("Software\\Nowhere", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open("Software", &key), ERROR_FILE_NOT_FOUND);
}

TEST_P(Store, KeysMatchWithoutCaseAndKeepTheirCase) {
    registry_.RegCloseKey(create("Control Panel\\PowerCfg"));
    HKEY key = 0;
    ASSERT_EQ(open("CONTROL PANEL\\powercfg", &key), ERROR_SUCCESS);
    EXPECT_EQ(registry_.keyPath(key), "HKEY_CURRENT_USER\\Control Panel\\PowerCfg");
    HKEY again = 0;
    ASSERT_EQ(registry_.RegCreateKeyExA(HKEY_CURRENT_USER, "control panel\\POWERCFG", &again),
              ERROR_SUCCESS);
    EXPECT_EQ(registry_.keyPath(again), "HKEY_CURRENT_USER\\Control Panel\\PowerCfg");
    std::string name;
    EXPECT_EQ(registry_.RegEnumKeyA(HKEY_CURRENT_USER, 0, &name), ERROR_SUCCESS);
    EXPECT_EQ(name, "Control Panel");
    EXPECT_EQ(registry_.RegEnumKeyA(HKEY_CURRENT_USER, 1, &name), ERROR_NO_MORE_ITEMS);
}

TEST_P(Store, EmptySubkeyOpensTheKeyItselfAndSlashesAreChecked) {
    HKEY parent = create("A\\B");
    HKEY self = 0;
    ASSERT_EQ(registry_.RegOpenKeyExA(parent, "", 0, KEY_READ, &self), ERROR_SUCCESS);
    EXPECT_NE(self, parent);
    EXPECT_EQ(registry_.keyPath(self), "HKEY_CURRENT_USER\\A\\B");
    HKEY key = 0;
    EXPECT_EQ(open("A\\B\\", &key), ERROR_SUCCESS);
    EXPECT_EQ(open("\\A\\B", &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(open("A\\\\B", &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_CURRENT_USER, "C\\\\D", &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(open("C", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_CURRENT_USER, std::string(256, 'k'), &key),
              ERROR_INVALID_PARAMETER);
}

TEST_P(Store, HandlesAreSmallClosedOnceAndNeverRoots) {
    HKEY key = create("A");
    EXPECT_LT(key, HKEY_CLASSES_ROOT);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(registry_.RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(registry_.RegCloseKey(key), ERROR_INVALID_HANDLE);
    std::uint32_t size = 0;
    EXPECT_EQ(registry_.RegQueryValueExA(key, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setString(registry_, 12345, "x", "y"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry_.RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_P(Store, ReadOnlyHandlesRefuseWrites) {
    registry_.RegCloseKey(create("A"));
    HKEY key = 0;
    ASSERT_EQ(registry_.RegOpenKeyExA(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(setString(registry_, key, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry_.RegDeleteValueA(key, "x"), ERROR_ACCESS_DENIED);
}

TEST_P(Store, ValueNamesMatchWithoutCaseAndKeepTheFirstCase) {
    HKEY key = create("A");
    ASSERT_EQ(setString(registry_, key, "CurrentPowerPolicy", "0"), ERROR_SUCCESS);
    ASSERT_EQ(setString(registry_, key, "CURRENTPOWERPOLICY", "3"), ERROR_SUCCESS);
    EXPECT_EQ(queryString(registry_, key, "currentpowerpolicy"), std::string("3\0", 2));
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(registry_.RegEnumValueA(key, 0, &name, &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(name, "CurrentPowerPolicy");
    EXPECT_EQ(data, std::vector<std::uint8_t>{'3'});
    EXPECT_EQ(registry_.RegEnumValueA(key, 1, &name, &type, &data), ERROR_NO_MORE_ITEMS);
}

TEST_P(Store, AnyTypeKeepsItsCodeAndRawBytes) {
    HKEY key = create("A");
    const std::vector<std::uint8_t> bytes = {0, 1, 0, 255, 0};
    ASSERT_EQ(registry_.RegSetValueExA(key, "odd", 0, 0x1234, bytes.data(), 5), ERROR_SUCCESS);
    ASSERT_EQ(registry_.RegSetValueExA(key, "empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    std::uint8_t buffer[8] = {};
    std::uint32_t size = sizeof buffer;
    std::uint32_t type = 0;
    ASSERT_EQ(registry_.RegQueryValueExA(key, "odd", &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, 0x1234u);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + size), bytes);
    size = sizeof buffer;
    ASSERT_EQ(registry_.RegQueryValueExA(key, "empty", &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 0u);
}

TEST_P(Store, DeletedValuesAreGoneAndMissingOnesReported) {
    HKEY key = create("A");
    setString(registry_, key, "Tolvane", "x");
    EXPECT_EQ(registry_.RegDeleteValueA(key, "TOLVANE"), ERROR_SUCCESS);
    EXPECT_EQ(registry_.RegDeleteValueA(key, "Tolvane"), ERROR_FILE_NOT_FOUND);
    std::uint32_t size = 0;
    EXPECT_EQ(registry_.RegQueryValueExA(key, "Tolvane", nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_P(Store, EnumeratesSubkeysByNameAndValuesInWritingOrder) {
    HKEY key = create("A");
    for (const char* name : {"b", "C", "a"}) {
        HKEY child = 0;
        registry_.RegCreateKeyExA(key, name, &child);
        registry_.RegCloseKey(child);
        setString(registry_, key, name, name);
    }
    std::vector<std::string> keys;
    std::vector<std::string> values;
    std::string name;
    for (std::uint32_t i = 0; registry_.RegEnumKeyA(key, i, &name) == ERROR_SUCCESS; ++i) {
        keys.push_back(name);
    }
    for (std::uint32_t i = 0;
         registry_.RegEnumValueA(key, i, &name, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        values.push_back(name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(values, (std::vector<std::string>{"b", "C", "a"}));
}

INSTANTIATE_TEST_SUITE_P(InMemoryAndOnFile, Store, ::testing::Bool());

TEST(QueryValue, StringsGainATerminatorWhenStoredWithout) {
    SqliteRegistry registry(":memory:", std::nullopt, noSeed);
    setString(registry, HKEY_CURRENT_USER, "plain", "abc");
    setString(registry, HKEY_CURRENT_USER, "ended", std::string("abc\0", 4));
    setString(registry, HKEY_CURRENT_USER, "expand", "%HOME%", REG_EXPAND_SZ);
    setString(registry, HKEY_CURRENT_USER, "empty", "");
    setString(registry, HKEY_CURRENT_USER, "multi", std::string("a\0b", 3), REG_MULTI_SZ);
    setString(registry, HKEY_CURRENT_USER, "binary", "abc", REG_BINARY);
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "plain"), std::string("abc\0", 4));
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "ended"), std::string("abc\0", 4));
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "expand"), std::string("%HOME%\0", 7));
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "empty"), std::string("\0", 1));
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "multi"), std::string("a\0b\0\0", 5));
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "binary"), "abc");
}

TEST(QueryValue, BufferLimitCountsTheTerminator) {
    SqliteRegistry registry(":memory:", std::nullopt, noSeed);
    setString(registry, HKEY_CURRENT_USER, "fits", std::string(254, 'x'));
    setString(registry, HKEY_CURRENT_USER, "long", std::string(255, 'x'));
    std::vector<std::uint8_t> buffer(255, ' ');
    std::uint32_t size = 255;
    std::uint32_t type = REG_SZ;
    ASSERT_EQ(registry.RegQueryValueExA(HKEY_CURRENT_USER, "fits", &type, buffer.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 255u);
    EXPECT_EQ(buffer[253], 'x');
    EXPECT_EQ(buffer[254], 0);
    size = 255;
    EXPECT_EQ(registry.RegQueryValueExA(HKEY_CURRENT_USER, "long", &type, buffer.data(), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 256u);
}

TEST(QueryValue, NullBufferAsksForTypeAndSize) {
    SqliteRegistry registry(":memory:", std::nullopt, noSeed);
    std::uint32_t dword = 7;
    registry.RegSetValueExA(HKEY_CURRENT_USER, "", 0, REG_DWORD,
                            reinterpret_cast<const std::uint8_t*>(&dword), 4);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(registry.RegQueryValueExA(HKEY_CURRENT_USER, "", &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    std::uint8_t byte = 0;
    EXPECT_EQ(registry.RegQueryValueExA(HKEY_CURRENT_USER, "", &type, &byte, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(registry.RegQueryValueExA(HKEY_CURRENT_USER, "missing", &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_P(Store, TreeRemovalTakesDescendantsOnly) {
    HKEY doomed = create("Top\\Foo\\Bar\\Baz");
    setString(registry_, doomed, "v", "1");
    HKEY sibling = create("Top\\Foo2");
    HKEY lookalike = create("Top\\Foo]x");
    setString(registry_, sibling, "v", "2");
    ASSERT_EQ(registry_.RegDeleteTree(HKEY_CURRENT_USER, "top\\FOO"), ERROR_SUCCESS);
    HKEY key = 0;
    EXPECT_EQ(open("Top\\Foo", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open("Top\\Foo\\Bar\\Baz", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(queryString(registry_, sibling, "v"), std::string("2\0", 2));
    EXPECT_EQ(open("Top\\Foo]x", &key), ERROR_SUCCESS);
    EXPECT_EQ(setString(registry_, doomed, "v", "3"), ERROR_KEY_DELETED);
    EXPECT_EQ(registry_.RegDeleteTree(HKEY_CURRENT_USER, "Top\\Foo"), ERROR_FILE_NOT_FOUND);
    registry_.RegCloseKey(lookalike);
}

TEST_P(Store, TreeRemovalWithEmptySubkeyKeepsTheKey) {
    HKEY top = create("Top\\Child");
    HKEY parent = 0;
    ASSERT_EQ(open("Top", &parent), ERROR_SUCCESS);
    setString(registry_, parent, "v", "1");
    ASSERT_EQ(registry_.RegDeleteTree(parent, ""), ERROR_SUCCESS);
    std::string name;
    EXPECT_EQ(registry_.RegEnumKeyA(parent, 0, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(registry_.RegEnumValueA(parent, 0, &name, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    HKEY key = 0;
    EXPECT_EQ(open("Top", &key), ERROR_SUCCESS);
    registry_.RegCloseKey(top);
}

TEST_P(Store, FailedTransactionWritesNothing) {
    HKEY key = create("A");
    long rc = registry_.transact([&] {
        setString(registry_, key, "first", "1");
        HKEY child = 0;
        registry_.RegCreateKeyExA(key, "Child", &child);
        return ERROR_INVALID_PARAMETER;
    });
    EXPECT_EQ(rc, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(queryString(registry_, key, "first"), "");
    HKEY child = 0;
    EXPECT_EQ(open("A\\Child", &child), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(registry_.transact([&] { return setString(registry_, key, "second", "2"); }),
              ERROR_SUCCESS);
    EXPECT_EQ(queryString(registry_, key, "second"), std::string("2\0", 2));
}

TEST(StoreFile, SeedsOnceAndCreatesPrivateFolders) {
    TempDir dir;
    std::string path = dir.file("nested/deeper/registry.db");
    {
        SqliteRegistry registry(path, "");
        HKEY key = 0;
        ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", 0, KEY_WRITE,
                                         &key),
                  ERROR_SUCCESS);
        EXPECT_EQ(queryString(registry, key, "CurrentPowerPolicy"), std::string("0\0", 2));
        setString(registry, key, "CurrentPowerPolicy", "3");
    }
    SqliteRegistry reopened(path, "");
    HKEY key = 0;
    ASSERT_EQ(
        reopened.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    EXPECT_EQ(queryString(reopened, key, "CurrentPowerPolicy"), std::string("3\0", 2));
    struct stat info {};
    ASSERT_EQ(stat(dir.file("nested").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
}

TEST(StoreFile, SeedHoldsWhatTheProgramsRead) {
    SqliteRegistry registry(":memory:");
    HKEY key = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ,
                                     &key),
              ERROR_SUCCESS);
    EXPECT_EQ(queryString(registry, key, "ProductName"), std::string("Microsoft Windows XP\0", 21));
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg\\PowerPolicies\\4",
                                     0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(queryString(registry, key, "Name"), std::string("Minimal Power Management\0", 25));
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                     KEY_READ, &key),
              ERROR_SUCCESS);
    std::string name;
    EXPECT_EQ(registry.RegEnumValueA(key, 0, &name, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST(StoreFile, ForeignFilesAreRefusedAndLeftAlone) {
    TempDir dir;
    std::string garbage = dir.file("garbage.db");
    std::ofstream(garbage) << "this is not a database, just some text that is long enough";
    EXPECT_THROW(SqliteRegistry(garbage, ""), std::runtime_error);
    std::ifstream in(garbage);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "this is not a database, just some text that is long enough");
}

TEST(StoreFile, WritesOfOneConnectionAreSeenByTheNextReadOfAnother) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    SqliteRegistry reader(path, "", noSeed);
    SqliteRegistry writer(path, "", noSeed);
    setString(writer, HKEY_CURRENT_USER, "v", "1");
    EXPECT_EQ(queryString(reader, HKEY_CURRENT_USER, "v"), std::string("1\0", 2));
    setString(writer, HKEY_CURRENT_USER, "v", "2");
    EXPECT_EQ(queryString(reader, HKEY_CURRENT_USER, "v"), std::string("2\0", 2));
    ASSERT_EQ(writer.RegDeleteValueA(HKEY_CURRENT_USER, "v"), ERROR_SUCCESS);
    EXPECT_EQ(queryString(reader, HKEY_CURRENT_USER, "v"), "");

    HKEY key = 0;
    EXPECT_EQ(reader.RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    HKEY made = 0;
    ASSERT_EQ(writer.RegCreateKeyExA(HKEY_CURRENT_USER, "K", &made), ERROR_SUCCESS);
    ASSERT_EQ(reader.RegOpenKeyExA(HKEY_CURRENT_USER, "k", 0, KEY_READ, &key), ERROR_SUCCESS);
    HKEY again = 0;
    EXPECT_EQ(reader.RegOpenKeyExA(key, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    ASSERT_EQ(writer.RegDeleteTree(HKEY_CURRENT_USER, "K"), ERROR_SUCCESS);
    EXPECT_EQ(reader.RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reader.RegOpenKeyExA(key, "", 0, KEY_READ, &again), ERROR_FILE_NOT_FOUND);
}

TEST(StoreLocation, ExplicitStoreWinsThenXdgThenHome) {
    std::map<std::string, std::string> env{
        {"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}, {"TOLVANE_REGISTRY", "/tmp/r.db"}};
    EXPECT_EQ(resolveStorePaths(fixedEnvironment(env)).registry, "/tmp/r.db");
    EXPECT_EQ(resolveStorePaths(fixedEnvironment(env)).autostartDir, "/cfg/autostart");
    env.erase("TOLVANE_REGISTRY");
    EXPECT_EQ(resolveStorePaths(fixedEnvironment(env)).registry, "/cfg/tolvane/registry.db");
    env["XDG_CONFIG_HOME"] = "relative/cfg";
    EXPECT_EQ(resolveStorePaths(fixedEnvironment(env)).registry,
              "/home/ann/.config/tolvane/registry.db");
    env.erase("XDG_CONFIG_HOME");
    EXPECT_EQ(resolveStorePaths(fixedEnvironment(env)).autostartDir, "/home/ann/.config/autostart");
}

}  // namespace
}  // namespace tv
