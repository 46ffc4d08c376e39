#include "platform/linux/program_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

class ProgramFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root_ / "app");
        std::filesystem::create_directories(root_ / "path");
    }

    std::string make(const std::string& relative, bool executable = true) {
        std::filesystem::path file = root_ / relative;
        std::ofstream(file) << "#!/bin/sh\n";
        ::chmod(file.c_str(), executable ? 0755 : 0644);
        return file.string();
    }
    std::string folder(const std::string& name) const { return (root_ / name).string(); }

    testing::TempDir dir_;
    std::filesystem::path root_{dir_.path()};
};

TEST_F(ProgramFolders, FindsProgramWithoutRegardToCaseOrExe) {
    std::string tool = make("app/powercfg");
    EXPECT_EQ(findProgram("POWERCFG", folder("app")), tool);
    EXPECT_EQ(findProgram("powercfg.exe", folder("app")), tool);
    EXPECT_EQ(findProgram("PowerCfg.EXE", folder("app")), tool);
    EXPECT_EQ(findProgram("powercfg", folder("app")), tool);
}

TEST_F(ProgramFolders, FindsExeNamedFileByPlainName) {
    std::string tool = make("app/Tool.exe");
    EXPECT_EQ(findProgram("tool", folder("app")), tool);
}

TEST_F(ProgramFolders, ProgramFolderComesBeforePath) {
    std::string mine = make("app/powercfg");
    make("path/powercfg");
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder("path").c_str(), 1);
    EXPECT_EQ(findProgram("POWERCFG", folder("app")), mine);
    EXPECT_EQ(findProgram("POWERCFG", folder("elsewhere")), folder("path") + "/powercfg");
    ::setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(ProgramFolders, SkipsFilesThatCannotRunAndFolders) {
    make("app/powercfg", false);
    std::filesystem::create_directories(root_ / "app" / "tool");
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder("path").c_str(), 1);
    EXPECT_EQ(findProgram("powercfg", folder("app")), std::nullopt);
    EXPECT_EQ(findProgram("tool", folder("app")), std::nullopt);
    EXPECT_EQ(findProgram("", folder("app")), std::nullopt);
    ::setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(ProgramFolders, NameWithSlashIsAPath) {
    std::string tool = make("app/powercfg");
    EXPECT_EQ(findProgram(tool, "/nowhere"), tool);
    EXPECT_EQ(findProgram(folder("app") + "/missing", "/nowhere"), std::nullopt);
}

TEST_F(ProgramFolders, SearchesPathWhenNoFolderGiven) {
    std::optional<std::string> shell = findProgram("SH", "");
    ASSERT_TRUE(shell.has_value());
    EXPECT_TRUE(shell->ends_with("/sh"));
}

}  // namespace
}  // namespace tv
