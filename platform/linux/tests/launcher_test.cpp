#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/linux/launcher_linux.h"
#include "runtime/testing/poll_until.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

using tv::testing::pollUntil;

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A program folder and a PATH folder of stand-in programs that write down their
// name and arguments.
class LaunchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "program folder");
        fs::create_directories(root_ / "bin");
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (root_ / "bin").c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }
    void stub(const fs::path& path) {
        // Only shell built-ins: PATH holds nothing but the stand-ins.
        std::ofstream(path) << "#!/bin/sh\necho \"${0##*/} $*\" >> '" << marks().string() << "'\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    fs::path folder() const { return root_ / "program folder"; }
    fs::path bin() const { return root_ / "bin"; }
    fs::path marks() const { return root_ / "marks"; }
    std::string marked() const { return readAll(marks()); }

    testing::TempDir dir_;
    fs::path root_{dir_.path()};
    std::string savedPath_;
};

TEST_F(LaunchFixture, ProgramInTheFolderMatchesWithoutCaseOrExe) {
    stub(folder() / "vantrel");
    LinuxLauncher launcher(folder().string());
    launcher.ShellExecuteA("open", (folder() / "Vantrel.exe").string(), "", "", kShowNormal);
    EXPECT_TRUE(pollUntil([&] { return marked() == "vantrel \n"; })) << marked();
    EXPECT_EQ(programInFolder((folder() / "VANTREL").string()), (folder() / "vantrel").string());
}

TEST_F(LaunchFixture, MissingProgramOrFileDoesNothingQuietly) {
    stub(bin() / "about");
    stub(bin() / "xdg-open");
    LinuxLauncher launcher(folder().string());
    EXPECT_EQ(launcher.openCommand("open", (folder() / "About.exe").string(), ""), Words{});
    EXPECT_EQ(launcher.openCommand("open", (folder() / "Tolvane.chm").string(), ""), Words{});
    EXPECT_EQ(launcher.openCommand("print", (bin() / "about").string(), ""), Words{});
    EXPECT_EQ(launcher.startCommand("nosuchprogram.exe /x"), Words{});
}

TEST_F(LaunchFixture, OtherFilesOpenWithTheDesktopHandler) {
    stub(bin() / "xdg-open");
    std::ofstream(folder() / "notes.txt") << "notes";
    LinuxLauncher launcher(folder().string());
    launcher.ShellExecuteA("open", (folder() / "notes.txt").string(), "", "", kShowNormal);
    EXPECT_TRUE(pollUntil([&] { return !marked().empty(); }));
    EXPECT_EQ(marked(), "xdg-open " + (folder() / "notes.txt").string() + "\n");
}

TEST_F(LaunchFixture, TheHelpFileOpensTheManualBesideThePrograms) {
    EXPECT_EQ(helpFileTarget("/usr/lib/tolvane/TOLVANE.CHM"), "/usr/lib/tolvane/manual/index.html");
    EXPECT_EQ(helpFileTarget("/usr/lib/tolvane/notes.txt"), "/usr/lib/tolvane/notes.txt");
    stub(bin() / "xdg-open");
    fs::create_directories(folder() / "manual");
    std::ofstream(folder() / "manual" / "index.html") << "<html></html>";
    LinuxLauncher launcher(folder().string());
    EXPECT_EQ(
        launcher.openCommand("open", (folder() / "Tolvane.chm").string(), ""),
        (Words{(bin() / "xdg-open").string(), (folder() / "manual" / "index.html").string()}));
}

TEST_F(LaunchFixture, PowerAppletOpensTheFirstSettingsProgramFound) {
    stub(bin() / "xfce4-power-manager-settings");
    stub(bin() / "systemsettings");
    LinuxLauncher launcher(folder().string());
    launcher.startProcess(kPowerAppletCommand, kShowMinimized);
    EXPECT_TRUE(pollUntil([&] { return !marked().empty(); }));
    EXPECT_EQ(marked(), "xfce4-power-manager-settings \n");
}

TEST_F(LaunchFixture, PowerAppletWithoutSettingsProgramDoesNothing) {
    LinuxLauncher launcher(folder().string());
    EXPECT_EQ(launcher.startCommand(kPowerAppletCommand), Words{});
}

TEST_F(LaunchFixture, CommandLinesArePassedWithoutAShell) {
    stub(folder() / "powercfg");
    LinuxLauncher launcher(folder().string());
    launcher.startProcess("POWERCFG.EXE /QUERY \"Max Battery\" ;touch x", kShowMinimized);
    EXPECT_TRUE(pollUntil([&] { return !marked().empty(); }));
    EXPECT_EQ(marked(), "powercfg /QUERY Max Battery ;touch x\n");
    EXPECT_FALSE(fs::exists(folder() / "x"));
}

TEST_F(LaunchFixture, StartedProgramsAreReaped) {
    stub(folder() / "vantrel");
    LinuxLauncher launcher(folder().string());
    for (int i = 0; i < 3; ++i) {
        launcher.ShellExecuteA("open", (folder() / "Vantrel.exe").string(), "", "", kShowNormal);
    }
    // Once every child has been collected, no child of ours is left to wait for.
    EXPECT_TRUE(pollUntil([] { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }));
}

}  // namespace
}  // namespace tv
