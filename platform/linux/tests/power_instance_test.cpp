#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/single_instance_linux.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

TEST(SingleInstance, SecondCopyFindsTheLockTakenUntilTheFirstEnds) {
    testing::TempDir dir;
    std::string lock = dir.file("tolvane.lock");
    {
        FlockInstanceCheck first(lock);
        EXPECT_FALSE(first.anotherInstanceRunning());
        FlockInstanceCheck second(lock);
        EXPECT_TRUE(second.anotherInstanceRunning());
        EXPECT_FALSE(first.anotherInstanceRunning());
    }
    FlockInstanceCheck later(lock);
    EXPECT_FALSE(later.anotherInstanceRunning());
}

volatile std::sig_atomic_t wakeCalls = 0;
extern "C" void onWake(int) {
    wakeCalls = wakeCalls + 1;
}

TEST(SingleInstance, ALaterCopyWakesTheRunningOne) {
    testing::TempDir dir;
    std::string lock = dir.path() + "/tolvane.lock";
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = onWake;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR2, &action, &previous);
    FlockInstanceCheck first(lock, SIGUSR2);
    EXPECT_FALSE(first.anotherInstanceRunning());
    FlockInstanceCheck quiet(lock);
    EXPECT_TRUE(quiet.anotherInstanceRunning());
    EXPECT_EQ(wakeCalls, 0);
    // The holder's id is in the file; a signal to oneself arrives before kill returns.
    FlockInstanceCheck second(lock, SIGUSR2);
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_EQ(wakeCalls, 1);
    sigaction(SIGUSR2, &previous, nullptr);
}

TEST(SingleInstance, UnopenableLockLetsTheProgramRun) {
    FlockInstanceCheck check("/proc/no-such-folder/tolvane.lock");
    EXPECT_FALSE(check.anotherInstanceRunning());
    FlockInstanceCheck none("");
    EXPECT_FALSE(none.anotherInstanceRunning());
}

TEST(SingleInstance, LockLivesInTheRuntimeFolderOrAPrivateOne) {
    EXPECT_EQ(
        instanceLockPath("tolvane", fixedEnvironment({{"XDG_RUNTIME_DIR", "/run/user/4242"}})),
        "/run/user/4242/tolvane.lock");
    testing::TempDir root;
    std::string folder = root.file("tolvane-" + std::to_string(getuid()));
    EXPECT_EQ(instanceLockPath("tolvane", fixedEnvironment({}), root.path()),
              folder + "/tolvane.lock");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
    fs::remove_all(folder);
    // A planted link is refused.
    fs::create_directory_symlink("/tmp", folder);
    EXPECT_EQ(instanceLockPath("tolvane", fixedEnvironment({}), root.path()), "");
}

}  // namespace
}  // namespace tv
