#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
