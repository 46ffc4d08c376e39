#pragma once
// Text encodings of .reg files: the store holds UTF-8 (the ANSI code page here), files
// come as UTF-16LE with a byte-order mark or as UTF-8/ASCII.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/strings.h"

namespace tv::reg {

using tv::isValidUtf8;
// False for text that is not valid UTF-8.
bool utf8ToUtf16le(std::string_view text, std::vector<std::uint8_t>* out);
// False for an odd byte count or unpaired surrogates.
bool utf16leToUtf8(const std::uint8_t* data, std::size_t size, std::string* out);

// File bytes to UTF-8 text, byte-order mark removed; false with a reason otherwise.
bool decodeRegFileBytes(const std::string& bytes, std::string* text, std::string* error);
// UTF-8 text as a UTF-16LE file with byte-order mark.
std::string encodeUtf16File(std::string_view text);

}  // namespace tv::reg
