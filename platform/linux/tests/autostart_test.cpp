#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/autostart.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/linux/tests/registry_test_support.h"

namespace tv {
namespace {

using testing::queryString;
using testing::setString;
using testing::TempDir;

std::vector<std::uint8_t> bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string execLine(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Exec=", 0) == 0) {
            return line.substr(5);
        }
    }
    return {};
}

void touch(const std::string& path, const std::string& text = "#!/bin/sh\n") {
    std::ofstream(path) << text;
}

TEST(DesktopQuoting, ProgramPathIsQuotedAndShellCharactersEscaped) {
    EXPECT_EQ(quoteExecProgram("/opt/tv/tolvane"), R"("/opt/tv/tolvane")");
    EXPECT_EQ(quoteExecProgram("/my apps/a\"b`c$d\\e"), R"("/my apps/a\"b\`c\$d\\e")");
    EXPECT_EQ(quoteExecProgram("/x/100%/y"), R"("/x/100%%/y")");
}

TEST(DesktopQuoting, StringEscapesApplyOnTopOfTheQuoting) {
    // A literal backslash inside a quoted argument needs four in the file.
    EXPECT_EQ(escapeDesktopString(quoteExecProgram("a\\b")), R"("a\\\\b")");
    EXPECT_EQ(escapeDesktopString(" a\tb\nc"), R"(\sa\tb\nc)");
    for (std::string text : {"", "plain", " lead", "back\\slash\\", "tab\tnew\nline\r", "\\s"}) {
        EXPECT_EQ(unescapeDesktopString(escapeDesktopString(text)), text);
    }
}

TEST(DesktopParsing, ReadsOnlyTheMainGroup) {
    DesktopEntry entry = parseDesktopEntry(R"([Desktop Entry]
# comment
Type=Application
Exec = /usr/bin/foo --bar
Hidden=false

[Desktop Action New]
Exec=/usr/bin/other
Hidden=true
)");
    EXPECT_EQ(entry.exec, "/usr/bin/foo --bar");
    EXPECT_FALSE(entry.hidden);
    EXPECT_FALSE(entry.hasRegistryData);
}

TEST(WindowsPath, FindsTheProgramWithoutExeIgnoringCase) {
    TempDir dir;
    touch(dir.file("tolvane"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "\\Tolvane.exe"), dir.file("tolvane"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "/TOLVANE.EXE"), dir.file("tolvane"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "\\Vantrel.exe"), dir.path() + "\\Vantrel.exe");
    EXPECT_EQ(resolveProgramPath(dir.path() + "\\TolVane"), dir.file("tolvane"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "/Tolvane"), dir.path() + "/Tolvane");
    EXPECT_EQ(resolveProgramPath("Tolvane.exe"), "Tolvane.exe");
}

TEST(WindowsPath, PrefersTheExactCaseAndIgnoresFolders) {
    TempDir dir;
    touch(dir.file("tolvane"));
    touch(dir.file("Tolvane"));
    std::filesystem::create_directory(dir.file("vantrel"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "\\Tolvane.exe"), dir.file("Tolvane"));
    EXPECT_EQ(resolveProgramPath(dir.path() + "\\Vantrel.exe"), dir.path() + "\\Vantrel.exe");
}

class Autostart : public ::testing::Test {
  protected:
    TempDir dir_;
    AutostartFolder folder_{dir_.file("autostart")};

    std::string readValue(const std::string& name) {
        std::vector<std::uint8_t> data;
        std::uint32_t type = 0;
        if (folder_.read(name, &type, &data) != ERROR_SUCCESS) {
            return "<missing>";
        }
        return std::string(data.begin(), data.end());
    }
};

TEST_F(Autostart, WrittenPathReadsBackExactlyAndRunsQuoted) {
    std::string path = "/home/ann/My \"Apps\"/$HOME/`x`/back\\slash/tolvane";
    ASSERT_EQ(folder_.write("Tolvane", REG_SZ, bytes(path + '\0')), ERROR_SUCCESS);
    EXPECT_EQ(readValue("tolvane"), path);
    std::string file = dir_.file("autostart/Tolvane.desktop");
    EXPECT_EQ(execLine(readText(file)),
              R"("/home/ann/My\s\\"Apps\\"/\\$HOME/\\`x\\`/back\\\\slash/tolvane")");
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(folder_.list(), std::vector<std::string>{"Tolvane"});
}

TEST_F(Autostart, WindowsStylePathRunsTheProgramInThatFolder) {
    std::filesystem::create_directories(dir_.file("My Programs"));
    touch(dir_.file("My Programs/tolvane"));
    std::string path = dir_.file("My Programs") + "\\Tolvane.exe";
    ASSERT_EQ(folder_.write("Tolvane", REG_SZ, bytes(path)), ERROR_SUCCESS);
    EXPECT_EQ(readValue("Tolvane"), path);
    EXPECT_EQ(execLine(readText(dir_.file("autostart/Tolvane.desktop"))),
              escapeDesktopString(quoteExecProgram(dir_.file("My Programs/tolvane"))));
}

TEST_F(Autostart, OverwriteKeepsTheFileNameCaseAndDeleteRemovesIt) {
    ASSERT_EQ(folder_.write("Tolvane", REG_SZ, bytes("/a")), ERROR_SUCCESS);
    ASSERT_EQ(folder_.write("TOLVANE", REG_EXPAND_SZ, bytes("/b")), ERROR_SUCCESS);
    EXPECT_EQ(folder_.list(), std::vector<std::string>{"Tolvane"});
    std::uint32_t type = 0;
    ASSERT_EQ(folder_.read("tolvane", &type, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(readValue("Tolvane"), "/b");
    EXPECT_EQ(folder_.remove("tolVANE"), ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart/Tolvane.desktop")));
    EXPECT_EQ(folder_.remove("Tolvane"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(readValue("Tolvane"), "<missing>");
}

TEST_F(Autostart, ForeignEntriesReadAsTheirCommandAndHiddenOnesAreAbsent) {
    std::filesystem::create_directories(dir_.file("autostart"));
    touch(dir_.file("autostart/nm-applet.desktop"),
          "[Desktop Entry]\nName=Network\nExec=nm-applet --indicator\n");
    touch(dir_.file("autostart/tracker.desktop"), "[Desktop Entry]\nExec=tracker\nHidden=true\n");
    touch(dir_.file("autostart/notes.txt"), "Exec=nothing\n");
    EXPECT_EQ(readValue("nm-applet"), "nm-applet --indicator");
    EXPECT_EQ(readValue("tracker"), "<missing>");
    EXPECT_EQ(folder_.remove("tracker"), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("autostart/tracker.desktop")));
    EXPECT_EQ(folder_.list(), std::vector<std::string>{"nm-applet"});
}

TEST_F(Autostart, NamesThatLeaveTheFolderAndUnfitDataAreRefused) {
    for (const std::string& name : std::vector<std::string>{
             "../evil", "a/b", ".hidden", "", std::string("a\0b", 3), std::string(250, 'n')}) {
        EXPECT_EQ(folder_.write(name, REG_SZ, bytes("/x")), ERROR_INVALID_PARAMETER) << name;
    }
    EXPECT_EQ(folder_.write("ok", REG_DWORD, bytes("1234")), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(folder_.write("ok", REG_SZ, bytes(std::string("/a\0/b", 5))),
              ERROR_INVALID_PARAMETER);
    // Line breaks and bytes that are not UTF-8 would break the file and a .reg export.
    for (const char* name : {"two\nlines", "cr\r", "latin\xe9"}) {
        EXPECT_EQ(folder_.write(name, REG_SZ, bytes("/x")), ERROR_INVALID_PARAMETER) << name;
    }
    EXPECT_EQ(folder_.write("ok", REG_SZ, bytes("/caf\xe9")), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart")));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("evil.desktop")));
}

TEST_F(Autostart, BatchAppliesItsChangesInOrder) {
    ASSERT_EQ(folder_.write("Old", REG_SZ, bytes("/old")), ERROR_SUCCESS);
    folder_.beginBatch();
    EXPECT_EQ(folder_.write("Tmp", REG_SZ, bytes("/tmp")), ERROR_SUCCESS);
    EXPECT_EQ(readValue("tmp"), "/tmp");
    EXPECT_EQ(folder_.remove("TMP"), ERROR_SUCCESS);
    EXPECT_EQ(folder_.remove("Old"), ERROR_SUCCESS);
    EXPECT_EQ(folder_.remove("old"), ERROR_FILE_NOT_FOUND);  // already gone in this batch
    EXPECT_EQ(folder_.write("New", REG_SZ, bytes("/new")), ERROR_SUCCESS);
    EXPECT_EQ(folder_.list(), std::vector<std::string>{"New"});
    EXPECT_TRUE(std::filesystem::exists(dir_.file("autostart/Old.desktop")));
    ASSERT_EQ(folder_.prepareBatch(), ERROR_SUCCESS);
    ASSERT_EQ(folder_.commitBatch(), ERROR_SUCCESS);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.file("autostart"))) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"New.desktop"});
}

TEST_F(Autostart, BatchThatCannotBePreparedLeavesNothing) {
    touch(dir_.file("autostart"), "a file where the folder should be");
    AutostartFolder blocked(dir_.file("autostart"));
    blocked.beginBatch();
    EXPECT_EQ(blocked.write("A", REG_SZ, bytes("/a")), ERROR_SUCCESS);
    EXPECT_EQ(blocked.prepareBatch(), ERROR_ACCESS_DENIED);
    blocked.abortBatch();
    EXPECT_EQ(readText(dir_.file("autostart")), "a file where the folder should be");
}

class RunKey : public ::testing::Test {
  protected:
    TempDir dir_;
    SqliteRegistry registry_{":memory:", dir_.file("autostart")};

    HKEY openRun(const std::string& subKey = "software\\MICROSOFT\\windows\\CurrentVersion\\RUN",
                 HKEY root = HKEY_LOCAL_MACHINE) {
        HKEY key = 0;
        EXPECT_EQ(registry_.RegOpenKeyExA(root, subKey, 0, 0x3F, &key), ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RunKey, ValuesAreAutostartFilesWhicheverWayTheKeyIsOpened) {
    ASSERT_EQ(setString(registry_, openRun(), "Tolvane", "/opt/tv\\Tolvane.exe"), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("autostart/Tolvane.desktop")));
    HKEY windows = openRun("Software\\Microsoft\\Windows");
    HKEY run = openRun("CurrentVersion\\Run", windows);
    EXPECT_EQ(queryString(registry_, run, "TOLVANE"), std::string("/opt/tv\\Tolvane.exe\0", 20));
    std::string name;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(registry_.RegEnumValueA(run, 0, &name, nullptr, &data), ERROR_SUCCESS);
    EXPECT_EQ(name, "Tolvane");
    EXPECT_EQ(registry_.RegEnumValueA(run, 1, &name, nullptr, &data), ERROR_NO_MORE_ITEMS);
    ASSERT_EQ(registry_.RegDeleteValueA(run, "tolvane"), ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart/Tolvane.desktop")));
    EXPECT_EQ(registry_.RegDeleteValueA(run, "tolvane"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RunKey, RefusedNamesNeverReachTheFolder) {
    EXPECT_EQ(setString(registry_, openRun(), "../../.bashrc", "/x"), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart")));
}

TEST_F(RunKey, RolledBackTransactionWritesNoFile) {
    HKEY run = openRun();
    long rc = registry_.transact([&] {
        setString(registry_, run, "Tolvane", "/a");
        return ERROR_INVALID_PARAMETER;
    });
    EXPECT_EQ(rc, ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart/Tolvane.desktop")));
    ASSERT_EQ(registry_.transact([&] { return setString(registry_, run, "Tolvane", "/a"); }),
              ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("autostart/Tolvane.desktop")));
}

TEST_F(RunKey, AFolderThatCannotBeWrittenRollsTheWholeTransactionBack) {
    touch(dir_.file("blocked"), "not a folder");
    SqliteRegistry registry(":memory:", dir_.file("blocked/autostart"));
    HKEY run = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath + 19, 0, KEY_WRITE, &run),
              ERROR_SUCCESS);
    long rc = registry.transact([&] {
        setString(registry, HKEY_CURRENT_USER, "Plain", "1");
        return setString(registry, run, "Tolvane", "/a");
    });
    EXPECT_EQ(rc, ERROR_ACCESS_DENIED);
    EXPECT_EQ(queryString(registry, HKEY_CURRENT_USER, "Plain"), "");
}

TEST(RunKeyInMemory, StaysInTheStoreWithoutAnAutostartFolder) {
    SqliteRegistry registry(":memory:");
    HKEY run = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath + 19, 0, KEY_WRITE, &run),
              ERROR_SUCCESS);
    ASSERT_EQ(setString(registry, run, "Tolvane", "/a"), ERROR_SUCCESS);
    EXPECT_EQ(queryString(registry, run, "Tolvane"), std::string("/a\0", 3));
}

}  // namespace
}  // namespace tv
