#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/linux/files_linux.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

class TempTree : public ::testing::Test {
  protected:
    void TearDown() override {
        // A test may have closed the folder; it must open again to be removed.
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, ignored);
    }
    std::string path(const std::string& relative) const { return (root_ / relative).string(); }
    void put(const std::string& relative, const std::string& text) {
        std::ofstream(root_ / relative) << text;
    }
    static std::string slurp(const std::string& file) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing::TempDir dir_;
    fs::path root_{dir_.path()};
    LinuxFiles files_;
};

TEST_F(TempTree, DirFindsPlainFilesWithAnyMask) {
    put("Temp.txt", "x");
    EXPECT_EQ(files_.Dir(path("Temp.txt"), 0), "Temp.txt");
    EXPECT_EQ(files_.Dir(path("Temp.txt"), 6), "Temp.txt");
    EXPECT_EQ(files_.Dir(path("Missing.txt"), 6), "");
}

TEST_F(TempTree, DirAdmitsHiddenFilesOnlyWithTheHiddenBit) {
    put(".hidden", "x");
    EXPECT_EQ(files_.Dir(path(".hidden"), 0), "");
    EXPECT_EQ(files_.Dir(path(".hidden"), vbAttrHidden), ".hidden");
    EXPECT_EQ(files_.Dir(path(".hidden"), 6), ".hidden");
}

TEST_F(TempTree, DirAdmitsReadOnlyFilesOnlyWithTheReadOnlyBit) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "every file is writable for root";
    }
    put("locked", "x");
    ::chmod(path("locked").c_str(), 0444);
    EXPECT_EQ(files_.Dir(path("locked"), 6), "");
    EXPECT_EQ(files_.Dir(path("locked"), 7), "locked");
}

TEST_F(TempTree, DirNeverMatchesFolders) {
    fs::create_directory(root_ / "sub");
    EXPECT_EQ(files_.Dir(path("sub"), 7), "");
    EXPECT_EQ(files_.Dir("", 7), "");
}

TEST_F(TempTree, WriteReplacesTheWholeFile) {
    put("Temp.txt", "a much longer earlier content\r\n");
    ASSERT_TRUE(files_.writeFile(path("Temp.txt"), "new\r\n"));
    EXPECT_EQ(slurp(path("Temp.txt")), "new\r\n");
    EXPECT_EQ(files_.readFile(path("Temp.txt")), "new\r\n");
    // No helper file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(TempTree, WriteKeepsBinaryBytes) {
    std::string bytes("a\0b\r\n\xff", 6);
    ASSERT_TRUE(files_.writeFile(path("bin"), bytes));
    EXPECT_EQ(files_.readFile(path("bin")), bytes);
}

TEST_F(TempTree, WriteReplacesALinkInsteadOfWritingThroughIt) {
    put("victim", "precious");
    fs::create_symlink(root_ / "victim", root_ / "Temp.txt");
    ASSERT_TRUE(files_.writeFile(path("Temp.txt"), "ours"));
    EXPECT_EQ(slurp(path("victim")), "precious");
    EXPECT_FALSE(fs::is_symlink(root_ / "Temp.txt"));
    EXPECT_EQ(slurp(path("Temp.txt")), "ours");
}

TEST_F(TempTree, WriteIntoAMissingFolderFailsAndCreatesNothing) {
    EXPECT_FALSE(files_.writeFile(path("nowhere/Temp.txt"), "x"));
    EXPECT_FALSE(fs::exists(root_ / "nowhere"));
    EXPECT_FALSE(files_.writeFile(path("dir/"), "x"));
}

TEST_F(TempTree, WriteOverAFolderFailsAndLeavesItAlone) {
    fs::create_directory(root_ / "Temp.txt");
    EXPECT_FALSE(files_.writeFile(path("Temp.txt"), "x"));
    EXPECT_TRUE(fs::is_directory(root_ / "Temp.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(TempTree, ReadAndDeleteOfMissingFiles) {
    EXPECT_EQ(files_.readFile(path("missing")), std::nullopt);
    EXPECT_FALSE(files_.deleteFile(path("missing")));
    fs::create_directory(root_ / "sub");
    EXPECT_FALSE(files_.deleteFile(path("sub")));
    put("gone", "x");
    EXPECT_TRUE(files_.deleteFile(path("gone")));
    EXPECT_FALSE(fs::exists(root_ / "gone"));
}

TEST_F(TempTree, ReadBackTakesOnlyARegularFileNeverALink) {
    put("real", "secret");
    fs::create_symlink(root_ / "real", root_ / "link");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(files_.readFile(path("link")), std::nullopt);
    EXPECT_EQ(files_.readFile(path("fifo")), std::nullopt);
    EXPECT_EQ(files_.readFile(path("real")), "secret");
}

class TempFolderChoice : public TempTree {
  protected:
    EnvironmentLookup env(std::map<std::string, std::string> values) {
        return [values](const std::string& name) -> std::optional<std::string> {
            auto it = values.find(name);
            return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
    }
    void SetUp() override {
        TempTree::SetUp();
        fs::create_directories(root_ / "app");
        fs::create_directories(root_ / "runtime");
        fs::create_directories(root_ / "home");
        ::chmod(path("app").c_str(), 0755);
    }
    static unsigned mode(const std::string& folder) {
        struct stat info {};
        ::lstat(folder.c_str(), &info);
        return info.st_mode & 07777;
    }
};

TEST_F(TempFolderChoice, OwnProgramFolderIsUsed) {
    EXPECT_EQ(chooseTempFolder(path("app"), "vantrel", env({})), path("app"));
}

TEST_F(TempFolderChoice, SharedProgramFolderGivesAPrivateRuntimeFolder) {
    ::chmod(path("app").c_str(), 0777);
    auto chosen =
        chooseTempFolder(path("app"), "vantrel", env({{"XDG_RUNTIME_DIR", path("runtime")}}));
    EXPECT_EQ(chosen, path("runtime/vantrel"));
    EXPECT_EQ(mode(path("runtime/vantrel")), 0700u);
}

TEST_F(TempFolderChoice, MissingProgramFolderFallsBackToTheCache) {
    auto chosen = chooseTempFolder(path("absent"), "vantrel", env({{"HOME", path("home")}}));
    EXPECT_EQ(chosen, path("home/.cache/vantrel"));
    EXPECT_EQ(mode(path("home/.cache")), 0700u);
    EXPECT_EQ(mode(path("home/.cache/vantrel")), 0700u);
}

TEST_F(TempFolderChoice, ALinkPlantedAsTheFolderIsRefused) {
    fs::create_directories(root_ / "elsewhere");
    fs::create_directory_symlink(root_ / "elsewhere", root_ / "runtime" / "vantrel");
    auto chosen = chooseTempFolder(
        path("absent"), "vantrel",
        env({{"XDG_RUNTIME_DIR", path("runtime")}, {"XDG_CACHE_HOME", path("home/cache")}}));
    EXPECT_EQ(chosen, path("home/cache/vantrel"));
}

TEST_F(TempFolderChoice, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder away";
    }
    fs::create_directories(root_ / "runtime" / "vantrel");
    ASSERT_EQ(::chown(path("runtime/vantrel").c_str(), 65534, 65534), 0);
    auto chosen =
        chooseTempFolder(path("absent"), "vantrel", env({{"XDG_RUNTIME_DIR", path("runtime")}}));
    EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(TempFolderChoice, AProgramFolderOfAnotherUserIsNotUsed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder away";
    }
    ASSERT_EQ(::chown(path("app").c_str(), 65534, 65534), 0);
    auto chosen =
        chooseTempFolder(path("app"), "vantrel", env({{"XDG_RUNTIME_DIR", path("runtime")}}));
    EXPECT_EQ(chosen, path("runtime/vantrel"));
}

TEST_F(TempFolderChoice, ABaseOthersMayWriteNeedsTheStickyBit) {
    ::chmod(path("runtime").c_str(), 0777);
    auto environment = env({{"XDG_RUNTIME_DIR", path("runtime")}});
    EXPECT_EQ(chooseTempFolder(path("absent"), "vantrel", environment), std::nullopt);
    ::chmod(path("runtime").c_str(), 01777);
    EXPECT_EQ(chooseTempFolder(path("absent"), "vantrel", environment), path("runtime/vantrel"));
}

TEST_F(TempFolderChoice, OwnFolderOpenToOthersIsClosed) {
    fs::create_directories(root_ / "runtime" / "vantrel");
    ::chmod(path("runtime/vantrel").c_str(), 0777);
    auto chosen =
        chooseTempFolder(path("absent"), "vantrel", env({{"XDG_RUNTIME_DIR", path("runtime")}}));
    EXPECT_EQ(chosen, path("runtime/vantrel"));
    EXPECT_EQ(mode(path("runtime/vantrel")), 0700u);
}

TEST_F(TempFolderChoice, RelativeOrMissingBasesGiveNothing) {
    EXPECT_EQ(chooseTempFolder(path("absent"), "vantrel", env({{"XDG_CACHE_HOME", "relative"}})),
              std::nullopt);
    EXPECT_EQ(chooseTempFolder(path("absent"), "vantrel", env({})), std::nullopt);
}

}  // namespace
}  // namespace tv
