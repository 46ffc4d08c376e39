#include "platform/linux/working_set.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

#include "platform/linux/files_linux.h"

namespace tv {

namespace {

// /proc/PID/pagemap: one 64-bit entry per page.
constexpr std::uint64_t kPresent = 1ULL << 63;
constexpr std::uint64_t kSwapped = 1ULL << 62;
constexpr std::uint64_t kFilePage = 1ULL << 61;  // file page or shared memory, not a copy

constexpr std::size_t kEntriesPerRead = 4096;

std::string_view nextField(std::string_view& line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const std::size_t end = line.find(' ');
    std::string_view field = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    return field;
}

bool parseHex(std::string_view text, std::uintptr_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && end == text.data() + text.size();
}

// "start-end perms offset dev inode   path"
bool readOnlyFileMapping(std::string_view line, AddressRange& range) {
    const std::string_view span = nextField(line);
    const std::string_view perms = nextField(line);
    nextField(line);  // offset
    nextField(line);  // device
    const std::string_view inode = nextField(line);
    const std::size_t pathStart = line.find_first_not_of(' ');
    const std::size_t dash = span.find('-');
    if (dash == std::string_view::npos || perms.size() != 4 || inode.empty() || inode == "0" ||
        pathStart == std::string_view::npos || line[pathStart] != '/') {
        return false;
    }
    if (perms[0] != 'r' || perms[1] == 'w' || perms[3] != 'p') {
        return false;
    }
    return parseHex(span.substr(0, dash), range.begin) &&
           parseHex(span.substr(dash + 1), range.end) && range.begin < range.end;
}

bool privateCopy(std::uint64_t flags) {
    return (flags & kSwapped) != 0 || ((flags & kPresent) != 0 && (flags & kFilePage) == 0);
}

class Fd {
  public:
    explicit Fd(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Drops what can be dropped of one mapping, a slice of pages at a time; the bytes.
std::size_t dropMapping(int pagemap, AddressRange mapping, std::size_t pageSize) {
    std::size_t dropped = 0;
    std::vector<std::uint64_t> flags;
    for (std::uintptr_t at = mapping.begin; at < mapping.end;) {
        const std::size_t pages =
            std::min<std::size_t>((mapping.end - at) / pageSize, kEntriesPerRead);
        if (pages == 0) {
            break;  // a tail shorter than a page: mappings are whole pages
        }
        flags.resize(pages);
        const auto offset = static_cast<off_t>(at / pageSize * sizeof(std::uint64_t));
        const ssize_t want = static_cast<ssize_t>(pages * sizeof(std::uint64_t));
        // Without the flags no page is known to be the file's; leave the slice alone.
        if (::pread(pagemap, flags.data(), static_cast<std::size_t>(want), offset) == want) {
            const AddressRange slice{at, at + pages * pageSize};
            for (const AddressRange& run : fileContentRuns(slice, flags, pageSize)) {
                if (::madvise(reinterpret_cast<void*>(run.begin), run.end - run.begin,
                              MADV_DONTNEED) != 0) {
                    continue;
                }
                for (std::uintptr_t page = run.begin; page < run.end; page += pageSize) {
                    if (flags[(page - at) / pageSize] & kPresent) {
                        dropped += pageSize;
                    }
                }
            }
        }
        at += pages * pageSize;
    }
    return dropped;
}

}  // namespace

std::vector<AddressRange> readOnlyFileMappings(std::string_view procMaps) {
    std::vector<AddressRange> found;
    while (!procMaps.empty()) {
        const std::size_t end = procMaps.find('\n');
        AddressRange range;
        if (readOnlyFileMapping(procMaps.substr(0, end), range)) {
            found.push_back(range);
        }
        procMaps.remove_prefix(end == std::string_view::npos ? procMaps.size() : end + 1);
    }
    return found;
}

std::vector<AddressRange> fileContentRuns(AddressRange range,
                                          std::span<const std::uint64_t> pageFlags,
                                          std::size_t pageSize) {
    std::vector<AddressRange> runs;
    const std::size_t pages = std::min(pageFlags.size(), (range.end - range.begin) / pageSize);
    std::optional<std::size_t> first;
    std::size_t last = 0;
    auto close = [&] {
        if (first) {
            runs.push_back({range.begin + *first * pageSize, range.begin + (last + 1) * pageSize});
            first.reset();
        }
    };
    for (std::size_t i = 0; i < pages; ++i) {
        if (privateCopy(pageFlags[i])) {
            close();
        } else if (pageFlags[i] & kPresent) {
            if (!first) {
                first = i;
            }
            last = i;
        }
    }
    close();
    return runs;
}

DroppedPages dropFilePages() {
    DroppedPages result;
    std::optional<std::string> maps;
    {
        Fd file("/proc/self/maps");
        maps = file.get() < 0 ? std::nullopt : readToEnd(file.get());
    }
    if (!maps) {
        result.problem = std::string("cannot read /proc/self/maps: ") + std::strerror(errno);
        return result;
    }
    Fd pagemap("/proc/self/pagemap");
    if (pagemap.get() < 0) {
        result.problem = std::string("cannot read /proc/self/pagemap: ") + std::strerror(errno);
        return result;
    }
    const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    for (const AddressRange& mapping : readOnlyFileMappings(*maps)) {
        result.bytes += dropMapping(pagemap.get(), mapping, pageSize);
    }
    return result;
}

}  // namespace tv
