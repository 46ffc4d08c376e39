// The manager's readers of tool output (whole lines, sequential fields) on any text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "schemes/my_mod.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t bytes = 0;
    for (const std::string& line : tv::splitLines(text)) {
        if (line.find_first_of("\r\n") != std::string::npos) {
            __builtin_trap();  // a line never holds its break
        }
        bytes += line.size();
    }
    for (const std::string& field : tv::readFields(text)) {
        bytes += field.size();
    }
    return bytes > 2 * size ? -1 : 0;
}
