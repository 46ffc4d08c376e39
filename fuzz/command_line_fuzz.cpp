// The command-line splitter on any line, and the quoting round trip: words quoted and
// joined split back into the same words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    tv::splitCommandLine(input);

    // Zero bytes separate the words of the round trip.
    std::vector<std::string> words;
    std::string::size_type start = 0;
    while (true) {
        std::string::size_type end = input.find('\0', start);
        words.push_back(input.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    std::string line = "POWERCFG";
    for (const std::string& word : words) {
        line += ' ' + tv::quoteArgument(word);
    }
    std::vector<std::string> split = tv::splitCommandLine(line);
    if (split.size() != words.size() + 1 || split[0] != "POWERCFG" ||
        !std::equal(words.begin(), words.end(), split.begin() + 1)) {
        __builtin_trap();
    }
    return 0;
}
