// Several processes on one store. No connection is open in the parent while it forks:
// SQLite connections must not cross fork(), so each child opens its own.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>
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

pid_t spawn(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    return pid;
}

int exitCode(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::set<std::string> valueNames(RegistryApi& registry, HKEY key) {
    std::set<std::string> names;
    std::string name;
    for (std::uint32_t i = 0;
         registry.RegEnumValueA(key, i, &name, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        names.insert(name);
    }
    return names;
}

struct Pipe {
    Pipe() {
        if (pipe(fds) != 0) {
            fds[0] = fds[1] = -1;
        }
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (fds[0] >= 0) {
            close(fds[0]);
        }
        fds[0] = -1;
    }
    void closeWrite() {
        if (fds[1] >= 0) {
            close(fds[1]);
        }
        fds[1] = -1;
    }
    int fds[2];
};

TEST(ProcessStore, ConcurrentWritersLoseNothing) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    constexpr int kWriters = 4;
    constexpr int kWrites = 200;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        children.push_back(spawn([&, writer] {
            SqliteRegistry registry(path, "", noSeed);
            HKEY key = 0;
            if (registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Load", &key) != ERROR_SUCCESS) {
                return 1;
            }
            for (int i = 0; i < kWrites; ++i) {
                std::string name = std::to_string(writer) + "-" + std::to_string(i);
                if (setString(registry, key, name, name) != ERROR_SUCCESS) {
                    return 2;
                }
            }
            return 0;
        }));
    }
    for (pid_t child : children) {
        EXPECT_EQ(exitCode(child), 0);
    }
    SqliteRegistry registry(path, "", noSeed);
    HKEY key = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Load", 0, KEY_READ, &key), ERROR_SUCCESS);
    std::set<std::string> names = valueNames(registry, key);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kWriters * kWrites));
    EXPECT_EQ(queryString(registry, key, "3-199"), std::string("3-199\0", 6));
}

TEST(ProcessStore, SimultaneousCreationSeedsOnce) {
    TempDir dir;
    std::string path = dir.file("new/registry.db");
    auto seed = [](RegistryApi& registry) {
        return setString(registry, HKEY_CURRENT_USER, "seed-" + std::to_string(getpid()), "x");
    };
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(spawn([&] {
            SqliteRegistry registry(path, "", seed);
            return 0;
        }));
    }
    for (pid_t child : children) {
        EXPECT_EQ(exitCode(child), 0);
    }
    SqliteRegistry registry(path, "", seed);
    EXPECT_EQ(valueNames(registry, HKEY_CURRENT_USER).size(), 1u);
}

TEST(ProcessStore, KilledTransactionLeavesOnlyCommittedValues) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    Pipe ready;
    pid_t child = spawn([&] {
        SqliteRegistry registry(path, "", noSeed);
        for (int i = 0; i < 100; ++i) {
            setString(registry, HKEY_CURRENT_USER, "committed-" + std::to_string(i), "x");
        }
        registry.transact([&] {
            for (int i = 0; i < 2000; ++i) {
                setString(registry, HKEY_CURRENT_USER, "pending-" + std::to_string(i),
                          std::string(100, 'p'));
            }
            [[maybe_unused]] auto n = write(ready.fds[1], "k", 1);
            while (true) {
                pause();
            }
            return ERROR_SUCCESS;
        });
        return 0;
    });
    ready.closeWrite();
    char signal = 0;
    ASSERT_EQ(read(ready.fds[0], &signal, 1), 1);
    kill(child, SIGKILL);
    EXPECT_EQ(exitCode(child), 128 + SIGKILL);

    SqliteRegistry registry(path, "", noSeed);
    std::set<std::string> names = valueNames(registry, HKEY_CURRENT_USER);
    EXPECT_EQ(names.size(), 100u);
    EXPECT_EQ(names.count("committed-99"), 1u);
    EXPECT_EQ(names.count("pending-0"), 0u);
    EXPECT_EQ(setString(registry, HKEY_CURRENT_USER, "after", "ok"), ERROR_SUCCESS);
}

TEST(ProcessStore, KilledWriterKeepsEveryReportedCommit) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    Pipe commits;
    pid_t child = spawn([&] {
        SqliteRegistry registry(path, "", noSeed);
        for (std::uint32_t i = 0;; ++i) {
            if (setString(registry, HKEY_CURRENT_USER, std::to_string(i), "v") != ERROR_SUCCESS) {
                return 1;
            }
            if (write(commits.fds[1], &i, sizeof i) != sizeof i) {
                return 2;
            }
        }
    });
    commits.closeWrite();
    std::uint32_t last = 0;
    std::uint32_t count = 0;
    while (count < 150 && read(commits.fds[0], &last, sizeof last) == sizeof last) {
        ++count;
    }
    kill(child, SIGKILL);
    EXPECT_EQ(exitCode(child), 128 + SIGKILL);
    while (read(commits.fds[0], &last, sizeof last) == sizeof last) {
        ++count;
    }
    ASSERT_GE(count, 150u);

    SqliteRegistry registry(path, "", noSeed);
    std::set<std::string> names = valueNames(registry, HKEY_CURRENT_USER);
    for (std::uint32_t i = 0; i < count; ++i) {
        ASSERT_EQ(names.count(std::to_string(i)), 1u) << "commit " << i << " lost";
    }
}

TEST(ProcessStore, ALongLivedReaderSeesAnotherProcessWrite) {
    TempDir dir;
    std::string path = dir.file("registry.db");
    { SqliteRegistry create(path, "", noSeed); }
    Pipe firstRead;
    Pipe written;
    pid_t reader = spawn([&] {
        SqliteRegistry registry(path, "", noSeed);
        bool missingBefore = queryString(registry, HKEY_CURRENT_USER, "v").empty();
        [[maybe_unused]] auto n = write(firstRead.fds[1], "r", 1);
        char signal = 0;
        if (read(written.fds[0], &signal, 1) != 1) {
            return 3;
        }
        bool seenAfter = queryString(registry, HKEY_CURRENT_USER, "v") == std::string("1\0", 2);
        return missingBefore && seenAfter ? 0 : 1;
    });
    pid_t writer = spawn([&] {
        char signal = 0;
        if (read(firstRead.fds[0], &signal, 1) != 1) {
            return 3;
        }
        SqliteRegistry registry(path, "", noSeed);
        long rc = setString(registry, HKEY_CURRENT_USER, "v", "1");
        [[maybe_unused]] auto n = write(written.fds[1], "w", 1);
        return rc == ERROR_SUCCESS ? 0 : 1;
    });
    EXPECT_EQ(exitCode(writer), 0);
    EXPECT_EQ(exitCode(reader), 0);
}

}  // namespace
}  // namespace tv
