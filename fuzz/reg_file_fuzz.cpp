// The .reg reader on any text: an error or every operation, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/reg/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tv::reg::RegFileParse parse = tv::reg::parseRegFile(text);
    if (!parse.error.empty() && !parse.operations.empty()) {
        __builtin_trap();  // a refused file must apply nothing
    }
    return 0;
}
