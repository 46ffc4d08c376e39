#pragma once
// Small text helpers shared by every layer: ASCII case, trimming, searching.

#include <cstddef>
#include <string>
#include <string_view>

namespace tv {

// Case-insensitive ASCII comparison, as the platform compares names.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

// Blank (0x20) trimming, as the platform's Trim family does.
std::string trimBlanks(std::string_view text);

bool contains(std::string_view text, std::string_view part);
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix);
// The name without a trailing ".exe" in any case; the Windows-style names the
// programs build ("FOLDER\\About.exe") stand for our executables, which have none.
std::string withoutExe(std::string_view name);
// White space (as isspace in the C locale) trimmed from both sides.
std::string trimWhitespace(std::string_view text);

// Decodes one UTF-8 sequence at *pos and moves past it; -1 (pos unchanged) when the
// bytes are malformed, overlong, a surrogate or beyond U+10FFFF.
long nextUtf8CodePoint(std::string_view text, std::size_t* pos);
// Desktop files and .reg exports carry only UTF-8, so names that are not are refused.
bool isValidUtf8(std::string_view text);

}  // namespace tv
