#pragma once
// A program that stays running all day keeps mapped what it ran once at start-up: the
// loader's relocation and symbol tables, the display connection's set-up, the font
// configuration, the store's checks. The kernel holds mapped code pages back from
// reclaim, so they stay counted against the program for as long as it runs. Dropping
// its own mappings of pages that can be read again from their files unchanged leaves
// them in the page cache, reclaimable, and the next touch maps back what is still used.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct AddressRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;  // exclusive

    bool operator==(const AddressRange&) const = default;
};

// From the text of /proc/PID/maps: the mappings private to the process, readable, not
// writable and backed by a file. Writable and shared mappings, and those of the kernel
// ([vdso], [stack], ...) or of no file, are left out.
std::vector<AddressRange> readOnlyFileMappings(std::string_view procMaps);

// Within one such mapping, the runs of pages whose content is the file's. A page the
// loader wrote before making it read-only (relocated data), or one swapped out, is a
// private copy that exists only in memory: dropping it would bring back the file's
// bytes. `pageFlags` holds the /proc/PID/pagemap entry of each page from range.begin.
std::vector<AddressRange> fileContentRuns(AddressRange range,
                                          std::span<const std::uint64_t> pageFlags,
                                          std::size_t pageSize);

struct DroppedPages {
    std::size_t bytes = 0;  // resident pages whose mapping was dropped
    std::string problem;    // why nothing was dropped; empty when it ran
};

// Drops this process's mappings of resident pages that hold a file's content as read
// from the file. Pages that hold anything else are not touched.
DroppedPages dropFilePages();

}  // namespace tv
