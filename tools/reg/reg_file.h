#pragma once
// The .reg text format: "Windows Registry Editor Version 5.00" (strings in hex(1),
// hex(2) and hex(7) data are UTF-16LE) or "REGEDIT4" (those bytes as they are).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/reg/reg_command.h"

namespace tv::reg {

struct RegOperation {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    KeyPath key;
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
    int line = 0;  // where the operation's text starts in the file
};

struct RegFileParse {
    std::vector<RegOperation> operations;
    std::string error;  // empty when the whole text is valid
    int errorLine = 0;
};

// text is the decoded file (UTF-8). Either every operation or an error, never a part.
RegFileParse parseRegFile(std::string_view text);

struct ExportValue {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

struct ExportKey {
    std::string path;  // full path with the root name
    std::vector<ExportValue> values;
};

// Version 5.00 text with CRLF line ends. Fails for string data that is not UTF-8,
// which this format cannot carry unchanged.
bool formatRegFile(const std::vector<ExportKey>& keys, std::string* text, std::string* error);

}  // namespace tv::reg
