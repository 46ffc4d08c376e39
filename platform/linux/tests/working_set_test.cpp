#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/linux/working_set.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

constexpr std::uint64_t kPresent = 1ULL << 63;
constexpr std::uint64_t kSwapped = 1ULL << 62;
constexpr std::uint64_t kFile = 1ULL << 61;

TEST(ReadOnlyFileMappings, KeepsPrivateReadOnlyMappingsOfFiles) {
    const char* maps =
        "55d0c000-55d0d000 r--p 00000000 08:01 131 /usr/bin/prog\n"
        "55d0d000-55d0f000 r-xp 00001000 08:01 131 /usr/bin/prog\n"
        "55d0f000-55d10000 rw-p 00003000 08:01 131 /usr/bin/prog\n"
        "55d10000-55d31000 rw-p 00000000 00:00 0                          [heap]\n"
        "7f0000000000-7f0000001000 r--s 00000000 00:05 77 /memfd:xorg (deleted)\n"
        "7f0000001000-7f0000002000 ---p 00004000 08:01 99 /usr/lib/libx.so\n"
        "7f0000002000-7f0000003000 r--p 00000000 08:01 98 /tmp/old.so (deleted)\n"
        "7f0000003000-7f0000004000 r--p 00000000 00:00 0 \n"
        "7ffd00000000-7ffd00002000 r-xp 00000000 00:00 0                  [vdso]\n"
        "garbage line\n"
        "7f0000005000-7f0000004000 r--p 00000000 08:01 97 /backwards\n";
    const std::vector<AddressRange> expected = {
        {0x55d0c000, 0x55d0d000}, {0x55d0d000, 0x55d0f000}, {0x7f0000002000, 0x7f0000003000}};
    EXPECT_EQ(readOnlyFileMappings(maps), expected);
}

TEST(FileContentRuns, StopAtPrivateCopiesAndSkipAbsentEnds) {
    const std::size_t page = 4096;
    const AddressRange range{0x10000, 0x10000 + 8 * page};
    const std::uint64_t flags[] = {
        0,                 // never touched
        kPresent | kFile,  // the file's bytes
        0,                 // untouched between two file pages
        kPresent | kFile,
        kPresent,  // written by the loader: a private copy
        kPresent | kFile,
        kSwapped,  // a private copy swapped out
        kPresent | kFile,
    };
    const std::vector<AddressRange> expected = {{0x10000 + 1 * page, 0x10000 + 4 * page},
                                                {0x10000 + 5 * page, 0x10000 + 6 * page},
                                                {0x10000 + 7 * page, 0x10000 + 8 * page}};
    EXPECT_EQ(fileContentRuns(range, flags, page), expected);
}

bool resident(const void* address) {
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    std::uint64_t entry = 0;
    const int fd = open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    const auto offset =
        static_cast<off_t>(reinterpret_cast<std::uintptr_t>(address) / pageSize * sizeof entry);
    const bool read = pread(fd, &entry, sizeof entry, offset) == sizeof entry;
    close(fd);
    return read && (entry & kPresent) != 0;
}

// The whole test process goes through it, so it also shows the process runs on.
TEST(DropFilePages, DropsTheFilesPagesAndKeepsWhatWasWritten) {
    testing::TempDir dir;
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::string path = dir.file("pages");
    std::ofstream(path) << std::string(4 * pageSize, 'f');
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    auto* code =
        static_cast<volatile char*>(mmap(nullptr, 4 * pageSize, PROT_READ, MAP_PRIVATE, fd, 0));
    // Written, then made read-only, as the loader does with relocated data.
    auto* relocated =
        static_cast<char*>(mmap(nullptr, 4 * pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0));
    close(fd);
    ASSERT_NE(code, MAP_FAILED);
    ASSERT_NE(relocated, MAP_FAILED);
    relocated[pageSize] = 'w';
    ASSERT_EQ(mprotect(relocated, 4 * pageSize, PROT_READ), 0);
    char seen = 0;
    for (std::size_t i = 0; i < 4 * pageSize; i += pageSize) {
        seen = static_cast<char>(seen ^ code[i] ^ relocated[i]);
    }
    static_cast<void>(seen);
    ASSERT_TRUE(resident(const_cast<char*>(code)));

    const DroppedPages dropped = dropFilePages();

    EXPECT_EQ(dropped.problem, "");
    EXPECT_GE(dropped.bytes, 4 * pageSize);
    EXPECT_FALSE(resident(const_cast<char*>(code)));
    EXPECT_FALSE(resident(relocated));
    EXPECT_TRUE(resident(relocated + pageSize));
    EXPECT_EQ(relocated[pageSize], 'w');
    EXPECT_EQ(code[2 * pageSize], 'f');
    munmap(const_cast<char*>(code), 4 * pageSize);
    munmap(relocated, 4 * pageSize);
}

}  // namespace
}  // namespace tv
