#pragma once
// UTF-8 checks shared by the store's writers: desktop files and .reg exports carry
// only UTF-8, so names that are not are refused before they are stored.

#include <cstddef>
#include <string_view>

namespace tv {

// Decodes one UTF-8 sequence at *pos and moves past it; -1 (pos unchanged) when the
// bytes are malformed, overlong, a surrogate or beyond U+10FFFF.
long nextUtf8CodePoint(std::string_view text, std::size_t* pos);

bool isValidUtf8(std::string_view text);

}  // namespace tv
