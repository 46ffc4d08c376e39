#include "registry/general.h"

#include <gtest/gtest.h>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "registry/active_scheme.h"
#include "runtime/testing/recording_dialogs.h"

namespace tv {
namespace {

// Counts keys left open, so a test can see every handle was closed.
class CountingRegistry : public SqliteRegistry {
  public:
    CountingRegistry() : SqliteRegistry(":memory:", std::nullopt, seedRegistry) {}
    long RegOpenKeyExA(HKEY key, const std::string& subKey, std::uint32_t options,
                       std::uint32_t sam, HKEY* result) override {
        long rc = SqliteRegistry::RegOpenKeyExA(key, subKey, options, sam, result);
        if (rc == ERROR_SUCCESS) {
            ++open;
        }
        lastAccess = sam;
        return rc;
    }
    long RegCloseKey(HKEY key) override {
        --open;
        return SqliteRegistry::RegCloseKey(key);
    }
    int open = 0;
    std::uint32_t lastAccess = 0;
};

class RegistryModule : public ::testing::Test {
  protected:
    void set(const std::string& subKey, const std::string& name, const std::string& data,
             HKEY root = HKEY_CURRENT_USER, std::uint32_t type = REG_SZ) {
        HKEY key = 0;
        ASSERT_EQ(store.RegCreateKeyExA(root, subKey, &key), ERROR_SUCCESS);
        ASSERT_EQ(store.RegSetValueExA(key, name, 0, type,
                                       reinterpret_cast<const std::uint8_t*>(data.data()),
                                       static_cast<std::uint32_t>(data.size())),
                  ERROR_SUCCESS);
        store.SqliteRegistry::RegCloseKey(key);
    }

    CountingRegistry store;
    testing::RecordingDialogs dialogs;
    General general{store, dialogs, "Tolvane"};
};

TEST_F(RegistryModule, RootNamesMatchOnlyTheFullUpperCaseForms) {
    EXPECT_EQ(General::RootKeyFromName("HKEY_CURRENT_USER"), HKEY_CURRENT_USER);
    EXPECT_EQ(General::RootKeyFromName("HKEY_DYN_DATA"), HKEY_DYN_DATA);
    EXPECT_EQ(General::RootKeyFromName("HKCU"), 0u);
    EXPECT_EQ(General::RootKeyFromName("hkey_current_user"), 0u);
    EXPECT_EQ(General::RootKeyFromName("HKEY_CURRENT_USER "), 0u);
}

TEST_F(RegistryModule, SplitsAtTheFirstBackslash) {
    SplitPath split = general.SplitRegistryPath("HKEY_CURRENT_USER\\Control Panel\\PowerCfg");
    EXPECT_EQ(split.root, HKEY_CURRENT_USER);
    EXPECT_EQ(split.subKey, "Control Panel\\PowerCfg");
    split = general.SplitRegistryPath("HKEY_CURRENT_USER");
    EXPECT_EQ(split.root, HKEY_CURRENT_USER);
    EXPECT_EQ(split.subKey, "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(RegistryModule, MalformedPathsShowTheFormatMessage) {
    for (const std::string path :
         {"HKEY_CURRENT_USER\\", "Software\\x", "hkey_current_user\\x", ""}) {
        dialogs.boxes.clear();
        general.SplitRegistryPath(path);
        ASSERT_EQ(dialogs.boxes.size(), 1u) << path;
        EXPECT_EQ(dialogs.boxes[0],
                  (testing::ShownBox{"Incorrect Format:\n\n" + path, 0, "Tolvane"}));
    }
    General vantrel(store, dialogs, "Vantrel");
    vantrel.SplitRegistryPath("x");
    EXPECT_EQ(dialogs.boxes.back().title, "Vantrel");
}

TEST_F(RegistryModule, AfterAFormatErrorTheLastGoodRootIsKept) {
    // No good path yet: no root, so a read gives empty text.
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\", "x"), "");
    general.RegReadString("HKEY_LOCAL_MACHINE\\SOFTWARE", "x");
    // Now the kept root is used with the unsplit path as subkey, which fails to open.
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\", "x"), "Error");
    EXPECT_EQ(store.open, 0);
}

TEST_F(RegistryModule, ReadsTheSeededValues) {
    EXPECT_EQ(
        general.RegReadString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                              "ProductName"),
        "Microsoft Windows XP");
    EXPECT_EQ(GetActiveSchemeName(general), "Home/Office Desk");
    EXPECT_EQ(store.lastAccess, KEY_READ);
    EXPECT_EQ(store.open, 0);
}

TEST_F(RegistryModule, ReadTrimsLeadingBlanksButKeepsTrailingOnes) {
    set("T", "v", "  ab  ");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\T", "v"), "ab  ");
    set("T", "empty", "");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\T", "empty"), "");
    set("T", "blanks", "   ");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\T", "blanks"), "");
}

TEST_F(RegistryModule, ReadsAt254CharactersAndFailsFrom255) {
    set("T", "254", std::string(254, 'x'));
    set("T", "255", std::string(255, 'x'));
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\T", "254"), std::string(254, 'x'));
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\T", "255"), "Error");
    EXPECT_EQ(store.open, 0);
}

TEST_F(RegistryModule, MissingValuesAndKeysReadAsErrorAndUnknownRootsAsEmpty) {
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\Control Panel\\PowerCfg", "Nope"), "Error");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\No\\Such\\Key", "x"), "Error");
    EXPECT_EQ(general.RegReadString("HKEY_current_user\\Control Panel", "x"), "");
    EXPECT_EQ(store.open, 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(RegistryModule, RootKeyItselfIsReadable) {
    set("", "top", "value");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER", "top"), "value");
}

TEST_F(RegistryModule, WriteStoresWholeTextUnderAnExistingKeyOnly) {
    general.RegWriteString("HKEY_CURRENT_USER\\Control Panel\\PowerCfg", "Note", "plain");
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\Control Panel\\PowerCfg", "Note"), "plain");
    EXPECT_EQ(store.lastAccess, KEY_READ);
    general.RegWriteString("HKEY_CURRENT_USER\\Missing\\Key", "Note", "x");
    HKEY key = 0;
    EXPECT_NE(
        store.SqliteRegistry::RegOpenKeyExA(HKEY_CURRENT_USER, "Missing\\Key", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    EXPECT_EQ(store.open, 0);
}

TEST_F(RegistryModule, WriteKeepsEveryByteOfMultiByteText) {
    const std::string folder = "/home/Zoë Ångström/Programme/Tolvane.exe";
    general.RegWriteString("HKEY_CURRENT_USER\\Control Panel\\PowerCfg", "Path", folder);
    EXPECT_EQ(general.RegReadString("HKEY_CURRENT_USER\\Control Panel\\PowerCfg", "Path"), folder);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    HKEY key = 0;
    store.SqliteRegistry::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", 0, KEY_READ,
                                        &key);
    store.SqliteRegistry::RegQueryValueExA(key, "Path", &type, nullptr, &size);
    store.SqliteRegistry::RegCloseKey(key);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, folder.size() + 1);
}

TEST_F(RegistryModule, DeleteReportsWhetherAValueWent) {
    set("T", "v", "x");
    EXPECT_TRUE(general.RegDeleteValueAt(HKEY_CURRENT_USER, "T", "v"));
    EXPECT_FALSE(general.RegDeleteValueAt(HKEY_CURRENT_USER, "T", "v"));
    EXPECT_FALSE(general.RegDeleteValueAt(HKEY_CURRENT_USER, "No\\Key", "v"));
    EXPECT_FALSE(general.RegDeleteValueAt(0x12345678, "T", "v"));
    EXPECT_EQ(store.lastAccess, 0x3Fu);
    EXPECT_EQ(store.open, 0);
}

}  // namespace
}  // namespace tv
